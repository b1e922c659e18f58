#pragma once

#include <cstddef>
#include <cstdint>

#include "model/ButtonInfo.h"
#include "store/ProfileBlock.h"

constexpr int kSlotCount = 4;

// One named profile of the profile list, as it sits in a mode slot.
struct tagPROFILE_ICONINFO {
  int32_t profileId;                 // the entry's position in the profile list
  char16_t profileName[kPathUnits];  // also the profile's file name
  char16_t profileIconName[kPathUnits];
  uint32_t profileColor;  // 0x00BBGGRR
};
static_assert(sizeof(tagPROFILE_ICONINFO) == 1048);
static_assert(offsetof(tagPROFILE_ICONINFO, profileName) == 4);
static_assert(offsetof(tagPROFILE_ICONINFO, profileIconName) == 524);
static_assert(offsetof(tagPROFILE_ICONINFO, profileColor) == 1044);

// config.ini in memory, with the profile of the current mode slot.
struct ConfigRecord {
  uint8_t plug;         // Plug: nonzero while the keyboard is connected
  uint8_t profile;      // Profile: the current mode slot
  uint8_t language;     // Language: 101..108, the letters "e" to "l"
  int32_t autorun;      // UI_Autorun
  uint8_t osdColor;     // OSD_Color
  int32_t osdProfile;   // OSD_Profile
  int32_t osdEffect;    // OSD_Effect
  uint8_t pollingRate;  // PollingRate
  uint8_t keyMode;      // KeyMode
  uint8_t syncMode;     // SyncMode
  uint8_t sleep;        // Sleep
  tagPROFILE_ICONINFO slots[kSlotCount];
  ProfileBlock current;
};
static_assert(sizeof(ConfigRecord) == 324316);
static_assert(offsetof(ConfigRecord, autorun) == 4);
static_assert(offsetof(ConfigRecord, osdColor) == 8);
static_assert(offsetof(ConfigRecord, osdProfile) == 12);
static_assert(offsetof(ConfigRecord, osdEffect) == 16);
static_assert(offsetof(ConfigRecord, pollingRate) == 20);
static_assert(offsetof(ConfigRecord, sleep) == 23);
static_assert(offsetof(ConfigRecord, slots) == 24);
static_assert(offsetof(ConfigRecord, current) == 4216);
