#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// A record stored as an INI value: each byte as two upper-case hexadecimal
// digits, then two more digits holding the sum of all bytes modulo 256.
std::u16string EncodeStructText(const void* data, std::size_t size);

// Copies the record into `target` only when the text has exactly 2 * size + 2
// hexadecimal digits and the checksum matches; otherwise `target` is untouched.
bool DecodeStructText(std::u16string_view text, void* target, std::size_t size);
