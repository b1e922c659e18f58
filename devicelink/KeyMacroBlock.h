#pragma once

#include <cstddef>
#include <cstdint>

#include "model/ButtonInfo.h"
#include "model/MacroEvent.h"

// The macro of one key as the keyboard stores it.
struct KeyMacroBlock {
  std::uint8_t repeatHigh;
  std::uint8_t repeatLow;         // with repeatHigh the 16-bit repeat; 1 = play once
  MacroEvent events[kMaxEvents];  // in playing order; unused records are zero
};
static_assert(sizeof(KeyMacroBlock) == 242);
static_assert(offsetof(KeyMacroBlock, repeatHigh) == 0);
static_assert(offsetof(KeyMacroBlock, repeatLow) == 1);
static_assert(offsetof(KeyMacroBlock, events) == 2);
