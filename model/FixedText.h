#pragma once

#include <cstddef>
#include <string_view>

// Text fields of stored records are fixed UTF-16 arrays. A record read from a
// file may lack its terminator, so reads stop at the array's end as well.
template <size_t N>
std::u16string_view FixedText(const char16_t (&field)[N]) {
  size_t length = 0;
  while (length < N && field[length] != u'\0') ++length;
  return std::u16string_view(field, length);
}

// Stores at most N - 1 units, never splitting a surrogate pair, and zero-fills
// the rest so that stored records compare equal byte for byte.
template <size_t N>
void SetFixedText(char16_t (&field)[N], std::u16string_view text) {
  size_t length = text.size() < N - 1 ? text.size() : N - 1;
  if (length > 0 && length < text.size() && text[length - 1] >= 0xD800 &&
      text[length - 1] <= 0xDBFF) {
    --length;
  }
  for (size_t i = 0; i < N; ++i) field[i] = i < length ? text[i] : u'\0';
}
