// Counters that may run past the int32 range: the scene keeps them as signed 32-bit values
// that wrap around in two's complement, which plain signed arithmetic cannot promise.
#pragma once

#include <cstdint>

// Unsigned arithmetic is modular by definition; the conversion back to int32_t keeps the bit
// pattern (guaranteed from C++20, and what every supported compiler already does).
inline std::int32_t wrappingAdd(std::int32_t value, std::int32_t delta) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value) +
                                   static_cast<std::uint32_t>(delta));
}
