#include "store/ProfileName.h"

#include <climits>

#include "model/ButtonInfo.h"
#include "platform/Text.h"

namespace {

// The longest name a file system here takes for one folder entry, in bytes.
constexpr std::size_t kMaxFileNameBytes = NAME_MAX;
constexpr std::u16string_view kExtension = u".ini";

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

bool IsValidUtf16(std::u16string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsHighSurrogate(text[i])) {
      if (i + 1 == text.size() || !IsLowSurrogate(text[i + 1])) return false;
      ++i;
    } else if (IsLowSurrogate(text[i])) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::optional<std::string> ProfileNameProblem(std::u16string_view name) {
  if (name.empty()) return "The profile name is empty.";
  if (name == u"." || name == u"..") return "The profile name cannot be \".\" or \"..\".";
  for (char16_t c : name) {
    if (c == u'/' || c == u'\\') return "The profile name cannot contain \"/\" or \"\\\".";
    if (c < 0x20 || c == 0x7F) return "The profile name cannot contain control characters.";
  }
  if (!IsValidUtf16(name)) return "The profile name is not valid text.";
  if (name.size() >= static_cast<std::size_t>(kPathUnits)) return "The profile name is too long.";
  std::u16string fileName(name);
  fileName += kExtension;
  if (platform::Utf16ToUtf8(fileName).size() > kMaxFileNameBytes)
    return "The profile name is too long for a file name.";
  return std::nullopt;
}
