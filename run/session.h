// A kept session: every input that changed the scene, each with the frame it arrived before,
// as --record writes it and --replay reads it back. Plain text, one event a line:
//
//   velkarin-session 1
//   0 key p
//   41 key <left>
//   97 press 300 80
//   98 motion 340 90
//   99 release 340 90
//   end 250
//
// An event at frame N arrived when N frames had been drawn, so it comes before frame N + 1.
// Keys are spelt as --keys spells them. The last line gives the frames the session drew; a
// session cut short (a killed viewer) has none. Pure: the run writes and presses.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "input/input_event.h"

inline constexpr char kSessionFormat[] = "velkarin-session";
inline constexpr int kSessionVersion = 1;
// The longest line a session may hold, its line break included.
inline constexpr std::size_t kSessionLineLength = 80;

struct Session {
  std::vector<InputEvent> events;  // in the order they arrived; frames never go back
  std::int64_t frames = 0;         // frames the session drew
  bool cutShort = false;           // no end line: frames is then the last event's frame + 1
};

// The first line of a session's file.
std::string sessionHeader();

// One event's line, its line break included.
std::string sessionLine(const InputEvent& event);

// The last line.
std::string sessionEnd(std::int64_t frames);

// Reads a session's text. Returns "" with the session in *session, or what is wrong, starting
// with the line number ("line 3: unknown event 'jump'").
std::string readSession(const std::string& text, Session* session);
