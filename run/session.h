// A kept session: every input that changed the scene, each with the frame it arrived before,
// as --record writes it and --replay reads it back. Plain text, one event a line:
//
//   velkarin-session 2
//   map /home/ana/matcaps/clay.png
//   map /home/ana/matcaps/caf%C3%A9%20au%20lait.png
//   0 key p
//   41 key <left>
//   97 press 300 80
//   98 motion 340 90
//   99 release 340 90
//   end 250
//
// An event at frame N arrived when N frames had been drawn, so it comes before frame N + 1.
// The map lines, right after the first, name the maps the session was kept with, in their
// order, each a full path with every byte but printable ASCII (and %) written as %XX; a session
// of version 1, from before maps were named, has none and is read as ever.
// Keys are spelt as --keys spells them. The last line gives the frames the session drew; a
// session cut short (a killed viewer) has none. Pure: the run writes and presses.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "input/input_event.h"

inline constexpr char kSessionFormat[] = "velkarin-session";
inline constexpr int kSessionVersion = 2;
inline constexpr int kOldestSessionVersion = 1;
// The longest line a session may hold, its line break included; a map line may hold a path of
// 4,096 bytes, each written as %XX.
inline constexpr std::size_t kSessionLineLength = 80;
inline constexpr std::size_t kSessionMapLineLength = 4 + 3 * 4096 + 1;

struct Session {
  std::vector<InputEvent> events;  // in the order they arrived; frames never go back
  std::int64_t frames = 0;         // frames the session drew
  bool cutShort = false;           // no end line: frames is then the last event's frame + 1
  std::vector<std::string> maps;   // the maps it was kept with; none named: the run's default
};

// The first lines of a session's file: the format, then a line for each map (none for the
// default ./env.ppm).
std::string sessionHeader(const std::vector<std::string>& maps = {});

// One event's line, its line break included.
std::string sessionLine(const InputEvent& event);

// The last line.
std::string sessionEnd(std::int64_t frames);

// Reads a session's text. Returns "" with the session in *session, or what is wrong, starting
// with the line number ("line 3: unknown event 'jump'").
std::string readSession(const std::string& text, Session* session);
