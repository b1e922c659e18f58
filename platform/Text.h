#pragma once

#include <string>
#include <string_view>

namespace platform {

// Conversions at the operating-system boundary. Invalid input never fails: an
// ill-formed UTF-8 sequence or a lone surrogate becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

// ASCII-only case folding, as used for section/key names and file names.
char16_t AsciiLower(char16_t c);
bool EqualsNoCase(std::u16string_view a, std::u16string_view b);
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace platform
