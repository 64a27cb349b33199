// GLUT's input callbacks: each turns what GLUT reports into an input event and hands it to the
// run, where typed, scripted and replayed input take one path. Keys ignore the pointer position.
#pragma once

void onKeyboard(unsigned char key, int x, int y);
void onSpecialKey(int key, int x, int y);

// A left-button drag turns and tilts the scene; other buttons and the wheel do nothing.
void onMouse(int button, int state, int x, int y);
void onMotion(int x, int y);
