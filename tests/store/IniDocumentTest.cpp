#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "TestFiles.h"
#include "platform/Text.h"
#include "store/IniDocument.h"

namespace {

using testfiles::Utf16Le;

std::string Narrow(std::u16string_view text) { return platform::Utf16ToUtf8(text); }

IniDocument ParseWide(std::u16string_view text) { return IniDocument::Parse(Utf16Le(text)); }

TEST(IniDocumentTest, NewDocumentIsUtf16WithBomAndCrLfLines) {
  IniDocument doc;
  ASSERT_TRUE(doc.WriteString(u"GROUP", u"CurrentProfileName", u"Game"));
  ASSERT_TRUE(doc.WriteInt(u"GROUP", u"RepotRate", -3));
  ASSERT_TRUE(doc.WriteInt(u"Setting", u"Plug", 1));
  EXPECT_EQ(
      doc.Serialize(),
      Utf16Le(u"[GROUP]\r\nCurrentProfileName=Game\r\nRepotRate=-3\r\n[Setting]\r\nPlug=1\r\n"));
}

struct PlacementCase {
  const char16_t* before;
  const char16_t* section;
  const char16_t* key;
  const char16_t* value;
  const char16_t* after;
};

TEST(IniDocumentTest, WritesGoWhereThePrivateProfileFunctionsPutThem) {
  const PlacementCase cases[] = {
      // An existing key changes in place and keeps its spelling.
      {u"[A]\r\nx=1\r\ny=2\r\n", u"a", u"X", u"9", u"[A]\r\nx=9\r\ny=2\r\n"},
      // Blanks around an existing entry are dropped from the rewritten line only.
      {u"[A]\r\n  x = 1 \r\n;c\r\n", u"A", u"x", u"2", u"[A]\r\nx=2\r\n;c\r\n"},
      // A new key goes after the section's last line, before blank lines and the next section.
      {u"[A]\r\nx=1\r\n;note\r\n\r\n[B]\r\nz=3\r\n", u"A", u"y", u"2",
       u"[A]\r\nx=1\r\n;note\r\ny=2\r\n\r\n[B]\r\nz=3\r\n"},
      // A new section goes at the end of the file, which gains a line break first.
      {u"[A]\r\nx=1", u"B", u"y", u"2", u"[A]\r\nx=1\r\n[B]\r\ny=2\r\n"},
      // A new key into a last unterminated line.
      {u"[A]\r\nx=1", u"A", u"y", u"2", u"[A]\r\nx=1\r\ny=2\r\n"},
      // Lines before the first section and lines with LF only are kept as they are.
      {u"junk\n[A]\nx=1\n", u"A", u"x", u"5", u"junk\n[A]\nx=5\n"},
      // The first of two sections with the same name takes the write.
      {u"[A]\r\n[a]\r\nx=1\r\n", u"A", u"x", u"2", u"[A]\r\nx=2\r\n[a]\r\nx=1\r\n"},
      // A header without its bracket still opens its own section.
      {u"[A]\r\nx=1\r\n[B\r\nx=2\r\n", u"A", u"x", u"3", u"[A]\r\nx=3\r\n[B\r\nx=2\r\n"},
      // An empty value is written as "key=".
      {u"", u"S", u"k", u"", u"[S]\r\nk=\r\n"},
  };
  for (const auto& c : cases) {
    IniDocument doc = ParseWide(c.before);
    ASSERT_TRUE(doc.WriteString(c.section, c.key, c.value)) << Narrow(c.before);
    EXPECT_EQ(doc.Serialize(), Utf16Le(c.after)) << Narrow(c.before);
  }
}

struct ReadCase {
  const char16_t* text;
  const char16_t* section;
  const char16_t* key;
  std::u16string expected;
};

TEST(IniDocumentTest, OnlyWritesThatAlterTheTextCountAsChanges) {
  struct Case {
    const char16_t* section;
    const char16_t* key;
    const char16_t* value;
    bool changed;
  };
  const Case cases[] = {
      {u"S", u"k", u"1", false},   // same value, same spelling
      {u"s", u"K", u"1", false},   // names match without regard to case
      {u"S", u"k", u"2", true},    // new value
      {u"S", u"spaced", u"x", true},  // "spaced = x" is rewritten as "spaced=x"
      {u"S", u"new", u"1", true},  // new key
      {u"T", u"k", u"1", true},    // new section
  };
  for (const Case& c : cases) {
    IniDocument doc = ParseWide(u"[S]\r\nk=1\r\nspaced = x\r\n");
    ASSERT_TRUE(doc.WriteString(c.section, c.key, c.value));
    EXPECT_EQ(doc.Changed(), c.changed) << platform::Utf16ToUtf8(c.key);
  }
}

TEST(IniDocumentTest, ReadsStringsAsThePrivateProfileFunctionsDo) {
  const ReadCase cases[] = {
      {u"[Setting]\r\nLanguage=e\r\n", u"SETTING", u"language", u"e"},
      {u"[S]\r\n  k  =  two words \t\r\n", u"S", u"k", u"two words"},
      {u"[S]\r\nk=\"quoted \"\r\n", u"S", u"k", u"quoted "},
      {u"[S]\r\nk='x'\r\n", u"S", u"k", u"x"},
      {u"[S]\r\nk=\"half\r\n", u"S", u"k", u"\"half"},
      {u"[S]\r\nk=a=b\r\n", u"S", u"k", u"a=b"},
      {u"[S]\r\nk=1\r\nk=2\r\n", u"S", u"k", u"1"},
      {u"[S]\r\n;k=1\r\n", u"S", u"k", u"default"},
      {u"k=1\r\n[S]\r\n", u"S", u"k", u"default"},
      {u"[T]\r\nk=1\r\n", u"S", u"k", u"default"},
      {u"[ S ]\r\nk=1\r\n", u"S", u"k", u"1"},
      {u"[S]\nk=lf only\n", u"S", u"k", u"lf only"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ParseWide(c.text).ReadString(c.section, c.key, u"default"), c.expected)
        << Narrow(c.text);
}

TEST(IniDocumentTest, StringReadsStopAtNulAndAtTheBufferSize) {
  const std::u16string withNul = std::u16string(u"[S]\r\nk=ab") + u'\0' + u"cd\r\n";
  EXPECT_EQ(ParseWide(withNul).ReadString(u"S", u"k", u""), u"ab");

  const std::u16string longValue(5000, u'v');
  const IniDocument doc = ParseWide(u"[S]\r\nk=" + longValue + u"\r\n");
  EXPECT_EQ(doc.ReadString(u"S", u"k", u""), longValue.substr(0, 4095));
  EXPECT_EQ(doc.ReadString(u"S", u"missing", longValue), longValue.substr(0, 4095));
}

TEST(IniDocumentTest, ReadsTheLeadingNumberOfAnIntegerValue) {
  const std::pair<const char16_t*, int> cases[] = {
      {u"12", 12},
      {u"-5", -5},
      {u"+7", 7},
      {u"12abc", 12},
      {u"abc", 0},
      {u"0x10", 0},
      {u"\"42\"", 42},
      {u"3.9", 3},
      {u"- 4", 0},
      {u"4294967297", 1},
      {u"2147483648", INT32_MIN},
      {u"", -1 /*default*/},
  };
  for (const auto& [value, expected] : cases) {
    const IniDocument doc = ParseWide(u"[S]\r\nk=" + std::u16string(value) + u"\r\n");
    EXPECT_EQ(doc.ReadInt(u"S", u"k", -1), expected) << Narrow(value);
  }
  EXPECT_EQ(ParseWide(u"[S]\r\n").ReadInt(u"S", u"k", 77), 77);
}

TEST(IniDocumentTest, StructValuesRoundTripWithChecksum) {
  const std::array<std::uint8_t, 5> record = {3, 0, 0xAB, 1, 0xFF};
  IniDocument doc;
  ASSERT_TRUE(doc.WriteStruct(u"GROUP", u"PERFORMANCE_INFO", record.data(), record.size()));
  // 3 + 0 + 0xAB + 1 + 0xFF = 0x1AE, checksum 0xAE.
  EXPECT_EQ(doc.ReadString(u"GROUP", u"PERFORMANCE_INFO", u""), u"0300AB01FFAE");
  std::array<std::uint8_t, 5> read{};
  EXPECT_TRUE(doc.ReadStruct(u"group", u"performance_info", read.data(), read.size()));
  EXPECT_EQ(read, record);
}

TEST(IniDocumentTest, DamagedStructValuesLeaveTheTargetUntouched) {
  const char16_t* damaged[] = {
      u"0300AB01FF",      // two digits short
      u"0300AB01FFAE00",  // two digits too many
      u"0300AB01FFAF",    // wrong checksum
      u"0300AB01FGAE",    // not hexadecimal
      u"",                // empty
  };
  for (const char16_t* value : damaged) {
    const IniDocument doc = ParseWide(u"[S]\r\nk=" + std::u16string(value) + u"\r\n");
    std::array<std::uint8_t, 5> target = {9, 9, 9, 9, 9};
    EXPECT_FALSE(doc.ReadStruct(u"S", u"k", target.data(), target.size())) << Narrow(value);
    EXPECT_EQ(target, (std::array<std::uint8_t, 5>{9, 9, 9, 9, 9})) << Narrow(value);
  }
  std::array<std::uint8_t, 5> target{};
  EXPECT_TRUE(ParseWide(u"[S]\r\nk=0300ab01ffae\r\n").ReadStruct(u"S", u"k", target.data(), 5));
}

TEST(IniDocumentTest, RefusesNamesAndValuesThatWouldNotReadBackAsWritten) {
  const std::u16string nul(1, u'\0');
  const std::array<std::u16string, 3> good = {u"S", u"k", u"v"};
  const std::array<std::u16string, 3> bad[] = {
      {u"", u"k", u"v"},         {u"S]", u"k", u"v"},  {u"S\r\n[T", u"k", u"v"},
      {u" S", u"k", u"v"},       {u"S", u"", u"v"},    {u"S", u"a=b", u"v"},
      {u"S", u";k", u"v"},       {u"S", u"[k", u"v"},  {u"S", u"k ", u"v"},
      {u"S", u"k", u"v\r\nx=1"}, {u"S", u"k", u"v\n"}, {u"S", u"k" + nul, u"v"},
      {u"S", u"k", u"a" + nul},
  };
  for (const auto& [section, key, value] : bad) {
    IniDocument doc = ParseWide(u"[S]\r\nk=old\r\n");
    const std::string before = doc.Serialize();
    EXPECT_FALSE(doc.WriteString(section, key, value))
        << Narrow(section + u"|" + key + u"|" + value);
    EXPECT_EQ(doc.Serialize(), before);
  }
  IniDocument doc;
  EXPECT_TRUE(doc.WriteString(good[0], good[1], good[2]));
}

TEST(IniDocumentTest, FileWithoutBomIsEightBitTextAndStaysSo) {
  const std::string utf8 = "[S]\r\nname=Caf\xC3\xA9\r\n";
  IniDocument doc = IniDocument::Parse(utf8);
  EXPECT_EQ(doc.Encoding(), IniEncoding::kEightBit);
  EXPECT_EQ(doc.ReadString(u"S", u"name", u""), u"Caf\u00E9");
  ASSERT_TRUE(doc.WriteString(u"S", u"k", u"\u00E9"));
  EXPECT_EQ(doc.Serialize(), utf8 + "k=\xC3\xA9\r\n");
}

TEST(IniDocumentTest, Utf8AndBigEndianFilesKeepTheirEncoding) {
  IniDocument utf8 = IniDocument::Parse("\xEF\xBB\xBF[S]\r\nk=1\r\n");
  EXPECT_EQ(utf8.Encoding(), IniEncoding::kUtf8WithBom);
  EXPECT_EQ(utf8.ReadInt(u"S", u"k", 0), 1);
  ASSERT_TRUE(utf8.WriteInt(u"S", u"k", 2));
  EXPECT_EQ(utf8.Serialize(), "\xEF\xBB\xBF[S]\r\nk=2\r\n");

  IniDocument bigEndian = IniDocument::Parse(std::string("\xFE\xFF\0[\0S\0]\0\n\0k\0=\0001", 16));
  EXPECT_EQ(bigEndian.Encoding(), IniEncoding::kUtf16Be);
  EXPECT_EQ(bigEndian.ReadInt(u"S", u"k", 0), 1);
  ASSERT_TRUE(bigEndian.WriteInt(u"S", u"k", 2));
  EXPECT_EQ(bigEndian.Serialize(), std::string("\xFE\xFF\0[\0S\0]\0\n\0k\0=\0002", 16));
}

TEST(IniDocumentTest, BytesThatDoNotDecodeSurviveARewrite) {
  // A lone surrogate, NUL units and a torn last unit, around a key that is rewritten.
  std::string bytes = Utf16Le(u"[S]\r\n;\xD800 lone\r\nk=1\r\n");
  bytes += std::string("n\0\0\0=\0x\0\r\0\n\0", 12);
  bytes += "Z";  // odd length: half a unit
  IniDocument doc = IniDocument::Parse(bytes);
  ASSERT_TRUE(doc.WriteInt(u"S", u"k", 7));
  std::string expected = Utf16Le(u"[S]\r\n;\xD800 lone\r\nk=7\r\n");
  expected += std::string("n\0\0\0=\0x\0\r\0\n\0", 12);
  expected += std::string("Z\0", 2);  // completed, not dropped
  EXPECT_EQ(doc.Serialize(), expected);
  EXPECT_EQ(doc.ReadInt(u"S", u"k", 0), 7);
}

TEST(IniDocumentTest, UnreadableInputGivesDefaults) {
  const std::string inputs[] = {
      std::string(),                              // 0-byte file
      std::string("\xFF\xFE", 2),                 // only the byte-order mark
      std::string("\xFF", 1),                     // half a byte-order mark
      Utf16Le(u"[GROUP]\r\nRepotRate=1", false),  // UTF-16 without its mark
      std::string("\0\0\0\0", 4),
  };
  for (const auto& input : inputs) {
    const IniDocument doc = IniDocument::Parse(input);
    EXPECT_EQ(doc.ReadInt(u"GROUP", u"RepotRate", 3), 3);
    EXPECT_EQ(doc.ReadString(u"GROUP", u"x", u"d"), u"d");
  }
}

TEST(IniDocumentTest, ListsSectionsAndKeys) {
  const IniDocument doc = ParseWide(u"[A]\r\nx=1\r\n;c\r\ny=2\r\n[B]\r\n");
  EXPECT_EQ(doc.SectionNames(), (std::vector<std::u16string>{u"A", u"B"}));
  EXPECT_EQ(doc.KeyNames(u"a"), (std::vector<std::u16string>{u"x", u"y"}));
  EXPECT_TRUE(doc.KeyNames(u"C").empty());
}

}  // namespace
