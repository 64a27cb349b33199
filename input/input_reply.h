// What an input asks of the run once its change to the scene is made: the run keeps, draws,
// steps the maps and quits; input/ only says so.
#pragma once

struct InputReply {
  bool keep = false;     // it belongs to a kept session
  bool drawNow = false;  // a frame at once, so that the change shows even when frames are slow
  int mapStep = 0;       // show the map this many places on: 1 the next, -1 the one before
  bool quit = false;     // end the run (Escape)
};
