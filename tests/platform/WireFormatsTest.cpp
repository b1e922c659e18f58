#include <cstring>

#include "PlatformTestSupport.h"
#include "platform/MessageIds.h"
#include "platform/MessageRegistry.h"
#include "platform/PublishedWindows.h"
#include "platform/WireMessage.h"

namespace platform::test {
namespace {

TEST(WireMessageTest, DecodesExactlyOneWellFormedRecord) {
  const WireMessage good = EncodeWireMessage(0x1234500000007ull, 1616, ~0ull, -5);
  const std::optional<WireMessage> decoded = DecodeWireMessage(&good, sizeof good);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->window, 0x1234500000007ull);
  EXPECT_EQ(decoded->message, 1616u);
  EXPECT_EQ(decoded->wParam, ~0ull);
  EXPECT_EQ(decoded->lParam, -5);

  WireMessage badMagic = good;
  badMagic.magic = 0;
  char longer[sizeof good + 8] = {};
  std::memcpy(longer, &good, sizeof good);
  const struct {
    const void* data;
    std::size_t size;
  } refused[] = {{&good, 0},
                 {&good, sizeof good - 1},
                 {longer, sizeof longer},
                 {&badMagic, sizeof badMagic},
                 {nullptr, sizeof good}};
  for (const auto& r : refused) EXPECT_FALSE(DecodeWireMessage(r.data, r.size)) << r.size;
}

TEST(PublishedWindowsTest, RoundTripsTitlesAndParents) {
  const std::vector<PublishedWindow> windows{
      {0x100000001ull, 0, u"Tolvane PV37"},
      {0x100000002ull, 0x100000001ull, u"Tolvane PV37"},
      {0x100000003ull, 0, u"\u00e9t\u00e9 \U0001F3B9"},
  };
  const auto parsed = ParsePublishedWindows(EncodePublishedWindows(windows));
  ASSERT_TRUE(parsed);
  ASSERT_EQ(parsed->size(), windows.size());
  for (std::size_t i = 0; i < windows.size(); ++i) {
    EXPECT_EQ((*parsed)[i].handle, windows[i].handle);
    EXPECT_EQ((*parsed)[i].parent, windows[i].parent);
    EXPECT_EQ((*parsed)[i].title, windows[i].title);
  }
  const auto empty = ParsePublishedWindows(EncodePublishedWindows({}));
  ASSERT_TRUE(empty);
  EXPECT_TRUE(empty->empty());
}

TEST(PublishedWindowsTest, RefusesIncompleteOrInconsistentTables) {
  const std::string good = EncodePublishedWindows({{0x100000001ull, 0, u"Title"}});
  std::string badMagic = good;
  badMagic[0] ^= 1;
  std::string hugeCount = good;
  hugeCount[4] = hugeCount[5] = hugeCount[6] = hugeCount[7] = '\xff';
  std::string hugeTitle = good;
  hugeTitle[8 + 16] = hugeTitle[8 + 17] = '\xff';
  std::string reservedUsed = good;
  reservedUsed[8 + 20] = 1;
  const std::string refused[] = {"",
                                 good.substr(0, 7),
                                 good.substr(0, good.size() - 1),
                                 good.substr(0, 8 + 23),
                                 good + "x",
                                 badMagic,
                                 hugeCount,
                                 hugeTitle,
                                 reservedUsed};
  for (const std::string& bytes : refused) {
    EXPECT_FALSE(ParsePublishedWindows(bytes)) << bytes.size() << " bytes";
  }
}

TEST(RegisteredNamesTest, SplitsLinesKeepingEveryIndex) {
  using Names = std::vector<std::string_view>;
  const struct {
    std::string_view bytes;
    Names names;
  } cases[] = {
      {"", {}},
      {"A\n", {"A"}},
      {"A\nB\n", {"A", "B"}},
      {"A\n\nB", {"A", "", "B"}},  // a cut-short last line still counts
      {"\n", {""}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitRegisteredNames(c.bytes), c.names) << c.bytes;
}

class MessageRegistryTest : public RuntimeFolderTest {};

TEST_F(MessageRegistryTest, SameNameSameNumberAndOthersRefused) {
  const std::uint32_t sync = RegisterMessageName(u"ORVI_DEV_SYNC");
  EXPECT_GE(sync, kFirstRegisteredMessage);
  EXPECT_LE(sync, kLastRegisteredMessage);
  EXPECT_EQ(RegisterMessageName(u"orvi_dev_sync"), sync);
  const std::uint32_t other = RegisterMessageName(u"Another \u00e9");
  EXPECT_NE(other, 0u);
  EXPECT_NE(other, sync);
  EXPECT_EQ(RegisterMessageName(u"Another \u00e9"), other);
  for (const std::u16string& bad : {std::u16string(), std::u16string(u"two\nlines"),
                                    std::u16string(u"cr\r"), std::u16string(u"nul\0x", 5)}) {
    EXPECT_EQ(RegisterMessageName(bad), 0u);
  }
}

TEST_F(MessageRegistryTest, AnEntryCutShortByACrashKeepsLaterNumbersConsistent) {
  const std::string table = TempRoot() + "/Tolvane PV37/RegisteredMessages";
  ASSERT_EQ(RegisterMessageName(u"First"), kFirstRegisteredMessage);
  FILE* file = std::fopen(table.c_str(), "ab");
  ASSERT_NE(file, nullptr);
  std::fputs("Half", file);  // another process died in the middle of its line
  std::fclose(file);
  EXPECT_EQ(RegisterMessageName(u"Third"), kFirstRegisteredMessage + 2);
  EXPECT_EQ(RegisterMessageName(u"Half"), kFirstRegisteredMessage + 1);
}

}  // namespace
}  // namespace platform::test
