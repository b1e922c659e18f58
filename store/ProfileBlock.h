#pragma once

#include <cstddef>
#include <cstdint>

#include "model/ButtonInfo.h"
#include "model/LightInfo.h"
#include "store/PerformanceInfo.h"

constexpr int kLinkExeCount = 5;

// One profile in memory, members in the order and sizes of the profile file's
// records. Copied and compared whole, so every byte (padding included) is kept
// defined by clearing the whole block before it is filled.
struct ProfileBlock {
  char16_t linkExe[kLinkExeCount][kPathUnits];
  ButtonInfo buttonInfo[kButtonInfoCount];
  ButtonInfo gButtonInfo[kGButtonInfoCount];
  ButtonInfo fnButtonInfo[kButtonInfoCount];
  LightInfo lightInfo;
  PerformanceInfo performanceInfo;
  int32_t repotRate;  // 0..3, reset 3; kept, reset and repaired only
};
static_assert(sizeof(ProfileBlock) == 320100);
static_assert(offsetof(ProfileBlock, linkExe) == 0);
static_assert(offsetof(ProfileBlock, buttonInfo) == 2600);
static_assert(offsetof(ProfileBlock, gButtonInfo) == 2600 + 111 * 1392);
static_assert(offsetof(ProfileBlock, fnButtonInfo) == 2600 + 117 * 1392);
static_assert(offsetof(ProfileBlock, lightInfo) == 319976);
static_assert(offsetof(ProfileBlock, performanceInfo) == 320088);
static_assert(offsetof(ProfileBlock, repotRate) == 320096);
