// The run's side of its maps: the maps answer whether the one asked for is in, and the run
// acts. A scripted run (--frames, --keys, --replay) waits for every map, so that its pictures
// are the same on every run; a person's run never waits for one: it keeps drawing the map it
// shows, and shows the one asked for once the worker has read it.
#pragma once

// How long a scripted run waits for a map at a time before it lets GLUT take input.
inline constexpr double kMapWaitSeconds = 0.01;

// The map asked for, shown if it is in within `waitSeconds`; the tex = N line said once the
// first map is shown or none can be. Whether another map is shown now.
bool settleRunMaps(double waitSeconds);

// Says "tex = N" for the scene's texture, once, when no map is still awaited: at start for
// ./env.ppm, once the first map named is shown (or none can be) otherwise.
void sayTexture();

// The timer that watches the shown map's file, and in a person's run shows the map asked for
// once it is in. Nothing in a --frames or --replay run, or where no map is named.
void startMapTimer();

// A step was asked in a person's run: the timer looks for the map at once, not at its next look.
void hurryMapTimer();

// A scripted run's map, waited for between frames a little at a time, so that GLUT's loop
// still takes Escape and the window's close meanwhile, and a signal still ends the run; once
// it is in, the frame a key owed is drawn. Whether the run may go on with its frame.
bool scriptedMapIsIn();

// Whether the run waits for a map before it takes more input or draws.
bool waitsForMap();
