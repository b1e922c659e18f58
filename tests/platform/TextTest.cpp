#include "platform/Text.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(Text, RoundTripsAcrossPlanes) {
  const std::u16string samples[] = {u"", u"Tolvane PV37", u"Grüße", u"日本語", u"\U0001F3B9 keys"};
  for (const auto& s : samples) EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(s)), s);
}

TEST(Text, IllFormedInputBecomesReplacement) {
  struct Case {
    std::string utf8;
    std::u16string expected;
  };
  const Case cases[] = {
      {"\xC3", u"\uFFFD"},               // truncated sequence
      {"\xC0\xAF", u"\uFFFD"},           // overlong
      {"\xED\xA0\x80", u"\uFFFD"},       // encoded surrogate
      {"a\xFFz", u"a\uFFFDz"},           // invalid lead byte
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8ToUtf16(c.utf8), c.expected) << c.utf8;
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(Text, CaseInsensitiveComparisonIsAsciiOnly) {
  EXPECT_TRUE(EqualsNoCase(u"Setting", u"SETTING"));
  EXPECT_FALSE(EqualsNoCase(u"Ä", u"ä"));
  EXPECT_FALSE(EqualsNoCase(u"abc", u"abcd"));
}

}  // namespace
}  // namespace platform
