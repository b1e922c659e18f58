#include <gtest/gtest.h>

#include <string>

#include "XmlTestText.h"
#include "xml/CXmlDoc.h"
#include "xml/XmlLookup.h"

namespace {

TEST(RobustnessTest, DeepNestingLoadsWithoutRecursion) {
  constexpr int kDepth = 100'000;
  std::string text;
  for (int i = 0; i < kDepth; ++i) text += "<d>";
  text += "leaf";
  for (int i = 0; i < kDepth; ++i) text += "</d>";
  CXmlDoc document;
  EXPECT_TRUE(document.LoadFromMemory(text));
  EXPECT_EQ(document.ElementCount(), kDepth + 1);
  const XmlElementRecord& innermost = document.Element(kDepth);
  EXPECT_EQ(innermost.flagsAndLevel & kXmlLevelMask, kXmlLevelMask) << "depth saturates";
  EXPECT_EQ(document.GetElementData(kDepth), u"leaf");
}

TEST(RobustnessTest, DeepNestingClosedByTheOuterEndTagStaysLinear) {
  constexpr int kDepth = 100'000;
  std::string text = "<r>";
  for (int i = 0; i < kDepth; ++i) text += "<d><e/>";
  for (int i = 0; i < kDepth; ++i) text += "</x>";
  text += "</r>";
  CXmlDoc document;
  EXPECT_FALSE(document.LoadFromMemory(text));
  const int root = document.RootElement();
  int children = 0;
  for (int c = document.Element(root).firstChild; c != 0; c = document.Element(c).nextSibling) {
    ASSERT_EQ(document.Element(c).parent, root);
    ++children;
  }
  EXPECT_EQ(children, 2 * kDepth) << "every unended d hands its children up to r";
}

TEST(RobustnessTest, MillionElementsUseSeveralTablePages) {
  constexpr int kElements = 1'000'000;
  std::string text = "<r>";
  text.reserve(kElements * 8);
  for (int i = 0; i < kElements - 2; ++i) text += "<e>v</e>";
  text += "<last>end</last></r>";
  CXmlDoc document;
  EXPECT_TRUE(document.LoadFromMemory(text));
  EXPECT_EQ(document.ElementCount(), kElements + 1);
  EXPECT_EQ(document.GetTagName(kElements), u"last");
  EXPECT_EQ(document.GetElementData(kElements), u"end");
}

TEST(RobustnessTest, TagsLongerThanTheirFieldsStillGiveTheirText) {
  const std::string longName(3000, 'n');
  const std::string longAttribute = " a='" + std::string((1 << 22) + 10, 'v') + "'";
  const std::string text = "<r><" + longName + ">one</" + longName + "><s" + longAttribute +
                           ">two</s  " + std::string(2000, ' ') + "></r>";
  CXmlDoc document;
  ASSERT_TRUE(document.LoadFromMemory(text));
  const int root = document.RootElement();
  const int first = document.Element(root).firstChild;
  const int second = document.Element(first).nextSibling;
  EXPECT_EQ(EndTagLength(document.Element(first)), kXmlEndTagLengthMax);
  EXPECT_EQ(StartTagLength(document.Element(second)), kXmlStartTagLengthMax);
  EXPECT_EQ(EndTagLength(document.Element(second)), kXmlEndTagLengthMax);
  EXPECT_EQ(document.GetElementData(first), u"one");
  EXPECT_EQ(document.GetElementData(second), u"two");
  EXPECT_EQ(GetXmlValue(document, U16(longName), u"x"), u"");
}

TEST(RobustnessTest, NulBytesAndOddLengthsLoad) {
  CXmlDoc document;
  EXPECT_TRUE(document.LoadFromMemory(std::string("<r>\0<e>\0v</e></r>\0", 19)));
  EXPECT_EQ(GetXmlValue(document, u"e", u"x"), u"");
  EXPECT_TRUE(document.FindChildElement(u"e"));
  EXPECT_EQ(document.GetChildData(), u"v");
  EXPECT_FALSE(document.LoadFromMemory("\xFF\xFE<"));
  EXPECT_FALSE(document.LoadFromMemory(std::string("\xFE\xFF\0", 3)));
  EXPECT_EQ(document.GetDocText(), u"");
  EXPECT_FALSE(document.LoadFromMemory(std::string(5, '\0')));
}

}  // namespace
