#include "xml/ControlLayout.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

constexpr int kLayoutFields = 7;

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

void SkipBlanks(std::u16string_view text, size_t& pos) {
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
}

int Saturated(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

// A decimal integer with optional sign after optional blanks; out-of-range values
// saturate. False (pos unchanged) when there are no digits.
bool ReadInteger(std::u16string_view text, size_t& pos, int& value) {
  size_t at = pos;
  SkipBlanks(text, at);
  bool negative = false;
  if (at < text.size() && (text[at] == u'-' || text[at] == u'+')) negative = text[at++] == u'-';
  const size_t digitsStart = at;
  std::int64_t magnitude = 0;
  while (at < text.size() && text[at] >= u'0' && text[at] <= u'9') {
    magnitude =
        std::min<std::int64_t>(magnitude * 10 + (text[at] - u'0'), std::int64_t{INT_MAX} + 1);
    ++at;
  }
  if (at == digitsStart) return false;
  value = Saturated(negative ? -magnitude : magnitude);
  pos = at;
  return true;
}

}  // namespace

ControlLayout ParseControlLayout(std::u16string_view layout) {
  ControlLayout result;
  const size_t firstComma = layout.find(u',');
  if (firstComma == std::u16string_view::npos) return result;
  const std::u16string_view fields = layout.substr(firstComma + 1);

  int numbers[4] = {};
  size_t pos = 0;
  for (int& number : numbers) {
    if (!ReadInteger(fields, pos, number)) break;
    SkipBlanks(fields, pos);
    if (pos >= fields.size() || fields[pos] != u',') break;
    ++pos;
  }
  result.left = numbers[0];
  result.top = numbers[1];
  result.right = Saturated(std::int64_t{numbers[0]} + numbers[2]);
  result.bottom = Saturated(std::int64_t{numbers[1]} + numbers[3]);

  if (std::count(layout.begin(), layout.end(), u',') >= kLayoutFields - 1) {
    const size_t lastComma = layout.rfind(u',');
    const size_t tooltipComma = layout.rfind(u',', lastComma - 1);
    result.tooltip = layout.substr(tooltipComma + 1, lastComma - tooltipComma - 1);
  }
  result.toggle = fields.find(u"TRUE") != std::u16string_view::npos;
  return result;
}
