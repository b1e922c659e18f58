#pragma once

#include <string>
#include <string_view>

#include "platform/Text.h"

// Test tables are written in UTF-8; the reader speaks UTF-16.
inline std::u16string U16(std::string_view utf8) { return platform::Utf8ToUtf16(utf8); }
inline std::string U8(std::u16string_view utf16) { return platform::Utf16ToUtf8(utf16); }
