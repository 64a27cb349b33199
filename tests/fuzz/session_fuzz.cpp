// libFuzzer target: any bytes as a kept session. The reader must never crash or read out of
// bounds, and what it accepts must hold its promises: frames that never go back, and an end no
// earlier than the last event.
#include <cstddef>
#include <cstdint>
#include <string>

#include "run/session.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Session session;
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (!readSession(text, &session).empty()) {
    return 0;
  }
  std::int64_t last = 0;
  for (const InputEvent& event : session.events) {
    if (event.frame < last) {
      __builtin_trap();
    }
    last = event.frame;
    // What was read can be written again, and reads back as the same.
    Session again;
    if (!readSession(sessionHeader() + sessionLine(event), &again).empty() ||
        again.events.size() != 1 || again.events[0].frame != event.frame) {
      __builtin_trap();
    }
  }
  if (session.frames < last) {
    __builtin_trap();
  }
  return 0;
}
