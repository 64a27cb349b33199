#include "run/session.h"

#include <charconv>
#include <climits>
#include <cstring>
#include <string_view>

#include "text/text_fields.h"
#include "input/keyboard.h"
#include "input/mouse.h"

namespace {

// A run draws at most this many frames (--frames takes no more), so no session holds more.
constexpr std::int64_t kMostFrames = INT_MAX;

struct KindName {
  InputKind kind;
  const char* name;
};
const KindName kKindNames[] = {
    {InputKind::Key, "key"},
    {InputKind::Press, "press"},
    {InputKind::Motion, "motion"},
    {InputKind::Release, "release"},
};

const char* eventWord(InputKind kind) {
  for (const KindName& entry : kKindNames) {
    if (entry.kind == kind) {
      return entry.name;
    }
  }
  return "?";
}

// One event line's words into *event; "" or what is wrong.
std::string readEvent(const std::vector<std::string>& words, InputEvent* event) {
  if (!readWholeNumber<std::int64_t>(words[0], 0, kMostFrames, &event->frame)) {
    return "'" + words[0] + "' is not a frame number from 0 to " + std::to_string(kMostFrames);
  }
  if (words.size() < 2) {
    return "no event after the frame number";
  }
  const std::string& kind = words[1];
  if (kind == "key") {
    std::vector<ScriptKey> keys;
    std::string unknown;
    if (words.size() != 3 || !parseKeyScript(words[2], &keys, &unknown) || keys.size() != 1) {
      return "a key event takes one key, as --keys spells it";
    }
    if (!keys[0].special && keys[0].code == kEscapeKey) {
      return "Escape ends a run and is never kept: end the session with an end line";
    }
    event->kind = InputKind::Key;
    event->key = keys[0];
    return "";
  }
  for (const KindName& entry : kKindNames) {
    if (kind == entry.name) {
      event->kind = entry.kind;
      if (words.size() != 4 || !readWholeNumber(words[2], kLeastPointer, kMostPointer, &event->x) ||
          !readWholeNumber(words[3], kLeastPointer, kMostPointer, &event->y)) {
        return "a " + kind + " event takes the pointer's x and y, each from " +
               std::to_string(kLeastPointer) + " to " + std::to_string(kMostPointer);
      }
      return "";
    }
  }
  return "unknown event '" + kind + "'";
}

// The header line; "" or what is wrong.
std::string readHeader(const std::string& line, int* versionRead) {
  const std::vector<std::string> words = wordsOf(line);
  int& version = *versionRead;
  if (words.size() != 2 || words[0] != kSessionFormat ||
      !readWholeNumber(words[1], INT_MIN, INT_MAX, &version)) {
    return "not a kept session: the first line must be '" + std::string(kSessionFormat) + " " +
           std::to_string(kSessionVersion) + "'";
  }
  if (version < kOldestSessionVersion || version > kSessionVersion) {
    return "a session of format version " + words[1] + "; this viewer reads versions " +
           std::to_string(kOldestSessionVersion) + " to " + std::to_string(kSessionVersion);
  }
  return "";
}

constexpr char kMapWord[] = "map ";
constexpr char kHexDigits[] = "0123456789ABCDEF";

// A path in a map line: printable ASCII as it is, every other byte (spaces, line breaks, UTF-8)
// and the percent sign as %XX, so that any name fits one line and reads back exactly.
std::string encodedPath(const std::string& path) {
  std::string encoded;
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte > 0x20 && byte < 0x7F && byte != '%') {
      encoded += c;
    } else {
      encoded += {'%', kHexDigits[byte >> 4], kHexDigits[byte & 0xF]};
    }
  }
  return encoded;
}

int hexValue(char c) {
  const char* found = std::strchr(kHexDigits, c);
  return c != '\0' && found != nullptr ? static_cast<int>(found - kHexDigits) : -1;
}

// A map line's path; "" or what is wrong.
std::string readMapLine(const std::string& line, Session* session) {
  std::string path;
  for (std::size_t at = std::strlen(kMapWord); at < line.size(); ++at) {
    if (line[at] != '%') {
      path += line[at];
      continue;
    }
    const int high = at + 2 < line.size() ? hexValue(line[at + 1]) : -1;
    const int low = high >= 0 ? hexValue(line[at + 2]) : -1;
    if (low < 0) {
      return "a map's path writes a byte as % and two capital hex digits";
    }
    path += static_cast<char>(high * 16 + low);
    at += 2;
  }
  if (path.empty()) {
    return "a map line names no map";
  }
  session->maps.push_back(path);
  return "";
}

// A line after the header; "" or what is wrong.
std::string readLine(const std::string& line, Session* session, bool* ended) {
  const std::vector<std::string> words = wordsOf(line);
  if (words.empty() || words[0][0] == '#') {
    return "";  // blank lines and comments, for a person's notes
  }
  if (*ended) {
    return "a line after the end line";
  }
  const std::int64_t last = session->events.empty() ? 0 : session->events.back().frame;
  if (words[0] == "end") {
    if (words.size() != 2 || !readWholeNumber(words[1], last, kMostFrames, &session->frames)) {
      return "the end line takes the frames drawn, from the last event's frame to " +
             std::to_string(kMostFrames);
    }
    *ended = true;
    return "";
  }
  InputEvent event;
  if (std::string problem = readEvent(words, &event); !problem.empty()) {
    return problem;
  }
  if (event.frame < last) {
    return "frame " + words[0] + " comes before the frame of the event above it";
  }
  session->events.push_back(event);
  return "";
}

// Editors on Windows may begin a UTF-8 file with a byte-order mark; it is no part of the text.
std::size_t pastByteOrderMark(const std::string& text) {
  const std::string_view byteOrderMark = "\xEF\xBB\xBF";
  return text.compare(0, byteOrderMark.size(), byteOrderMark) == 0 ? byteOrderMark.size() : 0;
}

}  // namespace

std::string sessionHeader(const std::vector<std::string>& maps) {
  std::string header = std::string(kSessionFormat) + " " + std::to_string(kSessionVersion) + "\n";
  for (const std::string& map : maps) {
    header += kMapWord + encodedPath(map) + "\n";
  }
  return header;
}

std::string sessionLine(const InputEvent& event) {
  std::string line = std::to_string(event.frame) + " " + eventWord(event.kind);
  if (event.kind == InputKind::Key) {
    line += " " + spellKeys({event.key});
  } else {
    line += " " + std::to_string(event.x) + " " + std::to_string(event.y);
  }
  return line + "\n";
}

std::string sessionEnd(std::int64_t frames) {
  return "end " + std::to_string(frames) + "\n";
}

std::string readSession(const std::string& text, Session* session) {
  *session = Session{};
  bool ended = false;
  std::size_t number = 0;
  int version = 0;
  for (std::size_t at = pastByteOrderMark(text); at < text.size();) {
    ++number;
    const std::size_t end = text.find('\n', at);
    const std::size_t length = (end == std::string::npos ? text.size() : end + 1) - at;
    const std::string where = "line " + std::to_string(number) + ": ";
    // Map lines come right after the first, before any event, in a session of version 2.
    const bool mapLine = number > 1 && version == kSessionVersion && session->events.empty() &&
                         !ended && text.compare(at, std::strlen(kMapWord), kMapWord) == 0;
    const std::size_t most = mapLine ? kSessionMapLineLength : kSessionLineLength;
    if (length > most) {
      return where + "longer than " + std::to_string(most) + " characters";
    }
    if (end == std::string::npos) {
      return where + "half-written: it has no line break at its end";
    }
    const std::string line = text.substr(at, end - at);
    const std::string problem = number == 1 ? readHeader(line, &version)
                                : mapLine   ? readMapLine(line, session)
                                            : readLine(line, session, &ended);
    if (!problem.empty()) {
      return where + problem;
    }
    at = end + 1;
  }
  if (number == 0) {
    return "line 1: not a kept session: the file is empty";
  }
  session->cutShort = !ended;
  if (!ended) {
    session->frames = session->events.empty() ? 0 : session->events.back().frame + 1;
  }
  return "";
}
