#include <gtest/gtest.h>

#include <string>

#include "XmlTestText.h"
#include "xml/CXmlDoc.h"
#include "xml/XmlTextDecoder.h"

namespace {

struct EncodingCase {
  const char* what;
  std::string bytes;
  std::string text;  // expected document text, UTF-8
  std::string log;   // expected load log
  int flags;
};

std::string Utf16Le(std::string_view ascii) {
  std::string bytes;
  for (const char c : ascii) bytes += {c, '\0'};
  return bytes;
}

std::string Utf16Be(std::string_view ascii) {
  std::string bytes;
  for (const char c : ascii) bytes += {'\0', c};
  return bytes;
}

std::string Utf32Le(std::u32string_view text) {
  std::string bytes;
  for (const char32_t c : text) {
    for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((c >> shift) & 0xFF);
  }
  return bytes;
}

const std::string kDeclShiftJis = "<?xml version=\"1.0\" encoding=\"shift_jis\"?>";

class EncodingTest : public testing::TestWithParam<EncodingCase> {};

TEST_P(EncodingTest, DecodesTextAndLogsWhatItFound) {
  const EncodingCase& c = GetParam();
  std::u16string text = u"left over from an earlier load";
  const XmlDecodeReport decoded = DecodeXmlBytes(c.bytes, text);
  EXPECT_EQ(U8(text), c.text);
  EXPECT_EQ(U8(decoded.log), c.log);
  EXPECT_EQ(decoded.docFlags, c.flags);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EncodingTest,
    testing::Values(
        EncodingCase{"utf8 bom", "\xEF\xBB\xBF<a>\xC3\xA9</a>", "<a>é</a>",
                     "UTF-8 BOM + length 9 to 8 wide chars ", 0x04},
        EncodingCase{"utf16le bom beats declaration",
                     "\xFF\xFE" + Utf16Le("<?xml encoding=\"shift_jis\"?><a/>"),
                     "<?xml encoding=\"shift_jis\"?><a/>", "UTF-16LE BOM + length 32 ", 0x01},
        EncodingCase{"utf16be bom", "\xFE\xFF" + Utf16Be("<a/>"), "<a/>",
                     "UTF-16BE BOM + length 4 endian swap ", 0x80},
        EncodingCase{"utf16 odd length", "\xFF\xFE" + Utf16Le("<a/>") + "x", "<a/>",
                     "UTF-16LE BOM + length 4 ", 0x01},
        EncodingCase{"utf16 nul units dropped", "\xFF\xFE" + Utf16Le("<a>") + std::string(4, '\0'),
                     "<a>", "UTF-16LE BOM + length 5 (2 nulls removed) ", 0x01},
        EncodingCase{"declared shift_jis", kDeclShiftJis + "<a>\x82\xA0</a>",
                     kDeclShiftJis + "<a>あ</a>", "shift_jis length 51 to 50 wide chars ", 0},
        EncodingCase{"declared name compares without case",
                     "<?xml version=\"1.0\" encoding='Windows-1251'?><a>\xE0</a>",
                     "<?xml version=\"1.0\" encoding='Windows-1251'?><a>а</a>",
                     "Windows-1251 length 53 to 53 wide chars ", 0},
        EncodingCase{"declared utf8 with invalid byte", "<?xml encoding=\"UTF-8\"?><a>\xFF</a>",
                     "<?xml encoding=\"UTF-8\"?><a>?</a>", "UTF-8 length 32 to 32 wide chars ", 0},
        EncodingCase{
            "unknown name uses the ANSI code page", "<?xml encoding=\"klingon\"?><a>\xE9</a>",
            "<?xml encoding=\"klingon\"?><a>é</a>", "klingon length 34 to 34 wide chars ", 0},
        EncodingCase{"html meta charset",
                     "<html><head><meta http-equiv=\"Content-Type\" "
                     "content=\"text/html; charset=windows-1251\"></head>\xE0</html>",
                     "<html><head><meta http-equiv=\"Content-Type\" "
                     "content=\"text/html; charset=windows-1251\"></head>а</html>",
                     "windows-1251 length 101 to 101 wide chars ", 0},
        EncodingCase{"meta after head is not read",
                     "<html><head></head><meta http-equiv=\"Content-Type\" "
                     "content=\"charset=windows-1251\">\xD0\xB0</html>",
                     "<html><head></head><meta http-equiv=\"Content-Type\" "
                     "content=\"charset=windows-1251\">а</html>",
                     "UTF-8 length 91 (used UTF-8 detection) to 90 wide chars ", 0},
        EncodingCase{"undeclared valid utf8", "<a>\xE2\x82\xAC</a>", "<a>€</a>",
                     "UTF-8 length 10 (used UTF-8 detection) to 8 wide chars ", 0},
        EncodingCase{"undeclared invalid utf8 is ANSI", "<a>caf\xE9</a>", "<a>café</a>",
                     "ANSI length 11 (used UTF-8 detection) to 11 wide chars ", 0},
        EncodingCase{"ANSI has the euro sign at 0x80", "x\x80", "x€",
                     "ANSI length 2 (used UTF-8 detection) to 2 wide chars ", 0},
        EncodingCase{"nul bytes of 8-bit text dropped", std::string("<a>\0x</a>", 9), "<a>x</a>",
                     "UTF-8 length 9 (1 nulls removed) (used UTF-8 detection) to 8 wide chars ", 0},
        EncodingCase{"bom-less utf16 with its declaration",
                     Utf16Le("<?xml version=\"1.0\" encoding=\"UTF-16\"?><a>") + "\xAC\x20",
                     "<?xml version=\"1.0\" encoding=\"UTF-16\"?><a>€", "UTF-16 length 43 ", 0x01},
        EncodingCase{"utf16 declared on 8-bit text is read as 8-bit",
                     "<?xml encoding=\"UTF-16\"?><a/>", "<?xml encoding=\"UTF-16\"?><a/>",
                     "UTF-8 length 29 (used UTF-8 detection) to 29 wide chars ", 0},
        EncodingCase{"utf32 with surrogate pair",
                     Utf32Le(U"<?xml encoding=\"UTF-32\"?><a>\U0001F600</a>"),
                     "<?xml encoding=\"UTF-32\"?><a>\U0001F600</a>", "UTF-32 length 33 ", 0},
        EncodingCase{"zero bytes", "", "", "ANSI 0 length ", 0},
        EncodingCase{"bom only", "\xEF\xBB\xBF", "", "UTF-8 BOM + 0 length ", 0x04}),
    [](const testing::TestParamInfo<EncodingCase>& param) {
      std::string name;
      for (const char c : std::string(param.param.what)) name += std::isalnum(c) ? c : '_';
      return name;
    });

TEST(EncodingTest, LoadReportsLogAndParseMessageTogether) {
  CXmlDoc document;
  EXPECT_TRUE(document.LoadFromMemory("\xEF\xBB\xBF<a>x</a>"));
  EXPECT_EQ(U8(document.GetResult()), "UTF-8 BOM + length 8 to 8 wide chars");
  EXPECT_FALSE(document.LoadFromMemory("<a/><b/>"));
  EXPECT_EQ(U8(document.GetResult()),
            "UTF-8 length 8 (used UTF-8 detection) to 8 wide chars Root element has sibling");
  EXPECT_FALSE(document.LoadFromMemory(""));
  EXPECT_EQ(U8(document.GetResult()), "ANSI 0 length Empty document");
}

}  // namespace
