#include "store/StructText.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

bool DecodeByte(std::u16string_view text, std::size_t at, std::uint8_t& out) {
  const int high = HexValue(text[at]);
  const int low = HexValue(text[at + 1]);
  if (high < 0 || low < 0) return false;
  out = static_cast<std::uint8_t>(high * 16 + low);
  return true;
}

}  // namespace

std::u16string EncodeStructText(const void* data, std::size_t size) {
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  std::u16string text;
  text.reserve(size * 2 + 2);
  std::uint8_t sum = 0;
  for (std::size_t i = 0; i < size; ++i) {
    text += kHexDigits[bytes[i] >> 4];
    text += kHexDigits[bytes[i] & 0x0F];
    sum = static_cast<std::uint8_t>(sum + bytes[i]);
  }
  text += kHexDigits[sum >> 4];
  text += kHexDigits[sum & 0x0F];
  return text;
}

bool DecodeStructText(std::u16string_view text, void* target, std::size_t size) {
  if (text.size() != size * 2 + 2) return false;
  std::vector<std::uint8_t> bytes(size);
  std::uint8_t sum = 0;
  for (std::size_t i = 0; i < size; ++i) {
    if (!DecodeByte(text, i * 2, bytes[i])) return false;
    sum = static_cast<std::uint8_t>(sum + bytes[i]);
  }
  std::uint8_t stored = 0;
  if (!DecodeByte(text, size * 2, stored) || stored != sum) return false;
  if (size > 0) std::memcpy(target, bytes.data(), size);
  return true;
}
