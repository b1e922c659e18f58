#include <gtest/gtest.h>

#include <string>

#include "XmlTestText.h"
#include "xml/CXmlDoc.h"
#include "xml/ControlLayout.h"
#include "xml/XmlLookup.h"

namespace {

constexpr const char* kStrings =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<STRINGS>\n"
    "  <GLOBAL><FONT>Tahoma</FONT><SIZE>9</SIZE><FONT>Arial</FONT></GLOBAL>\n"
    "  <MAIN><SAVE>Apply</SAVE><COPY>Copy &amp; paste</COPY><EMPTY/></MAIN>\n"
    "  <main><SAVE>lower</SAVE></main>\n"
    "  <MAIN><NEW>second section</NEW></MAIN>\n"
    "</STRINGS>\n";

struct LookupCase {
  const char16_t* section;
  const char16_t* entry;
  const char16_t* value;
};

class LookupTest : public testing::TestWithParam<LookupCase> {};

TEST_P(LookupTest, ReadsFirstSectionAndEntryByExactName) {
  CXmlDoc document;
  document.LoadFromMemory(kStrings);
  EXPECT_EQ(GetXmlValue(document, GetParam().section, GetParam().entry), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LookupTest,
    testing::Values(LookupCase{u"MAIN", u"SAVE", u"Apply"}, LookupCase{u"main", u"SAVE", u"lower"},
                    LookupCase{u"MAIN", u"save", u""}, LookupCase{u"GLOBAL", u"FONT", u"Tahoma"},
                    LookupCase{u"MAIN", u"COPY", u"Copy & paste"},
                    LookupCase{u"MAIN", u"EMPTY", u""}, LookupCase{u"MAIN", u"NEW", u""},
                    LookupCase{u"SETTING", u"SAVE", u""}, LookupCase{u"STRINGS", u"MAIN", u""},
                    LookupCase{u"", u"", u""}));

TEST(LookupTest, LeavesTheDocumentPositionAlone) {
  CXmlDoc document;
  document.LoadFromMemory(kStrings);
  ASSERT_TRUE(document.FindChildElement(u"GLOBAL"));
  const int child = document.ChildPosition();
  EXPECT_EQ(GetXmlValue(document, u"MAIN", u"SAVE"), u"Apply");
  EXPECT_EQ(document.ChildPosition(), child);
}

TEST(LookupTest, EmptyAndFailedDocumentsAnswerEmpty) {
  CXmlDoc document;
  EXPECT_EQ(GetXmlValue(document, u"MAIN", u"SAVE"), u"");
  document.LoadFromMemory(kStrings);
  EXPECT_FALSE(document.Load(std::string_view("/nonexistent/folder/Strings.xml")));
  EXPECT_EQ(U8(document.GetResult()), "No such file or directory");
  EXPECT_TRUE(document.GetDocText().empty());
  EXPECT_EQ(document.ElementCount(), 1);
  EXPECT_EQ(GetXmlValue(document, u"MAIN", u"SAVE"), u"");
}

struct LayoutCase {
  const char16_t* layout;
  int left, top, right, bottom;
  const char16_t* tooltip;
  bool toggle;
};

class ControlLayoutTest : public testing::TestWithParam<LayoutCase> {};

TEST_P(ControlLayoutTest, ReadsRectangleTooltipAndToggle) {
  const LayoutCase& c = GetParam();
  const ControlLayout layout = ParseControlLayout(c.layout);
  EXPECT_EQ(layout.left, c.left);
  EXPECT_EQ(layout.top, c.top);
  EXPECT_EQ(layout.right, c.right);
  EXPECT_EQ(layout.bottom, c.bottom);
  EXPECT_EQ(layout.tooltip, c.tooltip);
  EXPECT_EQ(layout.toggle, c.toggle);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ControlLayoutTest,
    testing::Values(LayoutCase{u"BUTTON_OK,10,20,30,40,Confirm,TRUE", 10, 20, 40, 60, u"Confirm",
                               true},
                    LayoutCase{u"X,5,6,7,8,,FALSE", 5, 6, 12, 14, u"", false},
                    LayoutCase{u"X, 5 , 6,7,8,Tip, FALSE", 5, 6, 12, 14, u"Tip", false},
                    LayoutCase{u"", 0, 0, 0, 0, u"", false},
                    LayoutCase{u"NAME_ONLY", 0, 0, 0, 0, u"", false},
                    LayoutCase{u"X,1,2", 1, 2, 1, 2, u"", false},
                    LayoutCase{u"X,1,2,3,4", 1, 2, 4, 6, u"", false},
                    LayoutCase{u"X,1,a,3,4,Tip,TRUE", 1, 0, 1, 0, u"Tip", true},
                    LayoutCase{u"X,-5,-6,10,10,Tip,", -5, -6, 5, 4, u"Tip", false},
                    LayoutCase{u"X,1,2,3,4,a,b,TRUE", 1, 2, 4, 6, u"b", true},
                    LayoutCase{u"TRUE,1,2,3,4,Tip,FALSE", 1, 2, 4, 6, u"Tip", false},
                    LayoutCase{u"X,1,2,3,4,Tip,true", 1, 2, 4, 6, u"Tip", false},
                    LayoutCase{u"X,2147483647,99999999999,10,-99999999999,,", 2147483647,
                               2147483647, 2147483647, -1, u"", false}));

}  // namespace
