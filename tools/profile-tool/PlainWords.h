#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/ButtonInfo.h"
#include "model/LightInfo.h"

// How pv37-profile puts stored values into words. All text is UTF-8.

// "MEDIA_VOLUME_UP" -> "Media volume up"; a leading "LIGHT_" is dropped.
std::string HumanizeNameKey(std::u16string_view key);

// A colour reference 0x00BBGGRR as "#RRGGBB".
std::string ColorText(uint32_t colorReference);

// The key at a key index, by the key it is on this user's keyboard layout.
std::string KeyIndexName(int keyIndex);

// What a key does when it is not default: the function's name and its
// parameters (program path, key combination, macro name, repeat and events).
std::string FunctionText(const ButtonInfo& key);

// Effect, colour mode, brightness, speed, colour, colour choice and spectrum.
std::string LightingText(const LightInfo& light);
