#pragma once

#include <cstddef>
#include <cstdint>

// A profile's performance values, stored whole as the PERFORMANCE_INFO block.
// Only repeatDelay is acted on: the service sets the system's keyboard repeat
// delay to 3 - repeatDelay, so 3 is the shortest delay. The other four bytes
// are kept, reset and repaired and have no other use.
struct PerformanceInfo {
  uint8_t repeatDelay;  // 0..3, reset 3
  uint8_t option1;      // 0..3, reset 0
  uint8_t option2;      // 0..4, reset 0
  uint8_t option3;      // 0..3, reset 1
  uint8_t option4;      // 0..3, reset 0
};
static_assert(sizeof(PerformanceInfo) == 5);
static_assert(offsetof(PerformanceInfo, repeatDelay) == 0);
static_assert(offsetof(PerformanceInfo, option4) == 4);
