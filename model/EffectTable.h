#pragma once

#include <cstdint>
#include <span>
#include <string_view>

// A lighting effect as the lighting page offers it and the keyboard knows it.
struct EffectInfo {
  std::u16string_view buttonKey;  // skin key in section LIGHTING
  std::u16string_view labelKey;   // string key in section LIGHT_STRING
  uint8_t deviceCode;
  uint8_t colorChoices;
  bool hasSpeed;
};

constexpr int kEffectCount = 12;
// The load check lets effects up to this value through although they have no row.
constexpr int kLastStoredEffect = 14;

std::span<const EffectInfo, kEffectCount> EffectTable();

// An effect without a row (12..14 survive the load check) behaves as the
// standard effect 0 everywhere, so nothing ever reads past the table and the
// keyboard is never sent a code it does not know.
const EffectInfo& EffectInfoOf(int effect);
uint8_t DeviceEffectCode(int effect);
int EffectColorChoices(int effect);
bool EffectHasSpeed(int effect);
