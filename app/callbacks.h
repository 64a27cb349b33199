// GLUT's input callbacks: they ask input/ what a key or a drag does to the global scene and
// draw at once when it says so. Keys ignore the pointer position.
#pragma once

#include "app/session.h"

void onKeyboard(unsigned char key, int x, int y);
void onSpecialKey(int key, int x, int y);

// A left-button drag turns and tilts the scene; other buttons and the wheel do nothing.
void onMouse(int button, int state, int x, int y);
void onMotion(int x, int y);

// What a key or a drag that changes the view draws at once: renderFrame, unless a run that
// counts its frames says otherwise.
void drawFramesNowWith(void (*draw)());

// Where every input that changes the scene is told of before it acts (its frame left 0):
// nowhere, unless a run keeps its session.
void reportInputsTo(void (*report)(InputEvent event));

// Hands a scripted or replayed input to the callback a typed or dragged one goes to.
void deliver(const InputEvent& event);
