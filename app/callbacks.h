// GLUT's input callbacks: they ask input/ what a key does to the global scene and draw at once
// when it says so. The pointer position is ignored.
#pragma once

void onKeyboard(unsigned char key, int x, int y);
void onSpecialKey(int key, int x, int y);
