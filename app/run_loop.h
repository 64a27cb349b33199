// The run in GLUT's window: what the run asks of the window, done with GLUT, and GLUT's loop
// with the callbacks that run the frames, the timers, the window's status and its close.
#pragma once

// Hands the run the window's calls (swap, size, title, GL's look-up). Once the window is open.
void handWindowToRun();

// Sets the run going and enters GLUT's loop, which ends only by exit.
void runInGlutLoop(bool fullscreen);

// After input: a person's step to another map has the map timer look for it at once.
void hurryMapsIfStepped();
