#include <gtest/gtest.h>

#include <string>

#include "XmlTestText.h"
#include "xml/CXmlDoc.h"

namespace {

TEST(NavigationTest, FindIntoAndGetChildDataWalkTheTree) {
  CXmlDoc document;
  ASSERT_TRUE(document.LoadFromMemory("<r><s><e>1</e><e>2</e></s><MAIN/></r>"));
  EXPECT_FALSE(document.FindChildElement(u"main")) << "names compare exactly";
  EXPECT_EQ(document.MainPosition(), 0) << "a failed find moves nothing";
  ASSERT_TRUE(document.FindChildElement(u"s"));
  EXPECT_EQ(document.MainPosition(), document.RootElement());
  EXPECT_EQ(document.ParentPosition(), 0);
  EXPECT_EQ(document.GetChildData(), u"") << "s has child elements";
  ASSERT_TRUE(document.IntoElement());
  EXPECT_EQ(document.ChildPosition(), 0);
  ASSERT_TRUE(document.FindChildElement(u"e"));
  EXPECT_EQ(document.GetChildData(), u"1");
  ASSERT_TRUE(document.FindChildElement(u"e"));
  EXPECT_EQ(document.GetChildData(), u"2");
  EXPECT_FALSE(document.FindChildElement(u"e"));
  EXPECT_EQ(document.GetChildData(), u"2");
  document.ResetPosition();
  EXPECT_TRUE(document.FindChildElement(u"MAIN"));
  EXPECT_EQ(document.GetChildData(), u"");
}

TEST(NavigationTest, NewDocumentIsEmptyAndParsed) {
  CXmlDoc document;
  EXPECT_EQ(document.GetResult(), u"Empty document");
  EXPECT_FALSE(document.IsWellFormed());
  EXPECT_FALSE(document.FindChildElement(u"a"));
  EXPECT_FALSE(document.IntoElement());
  EXPECT_EQ(document.GetChildData(), u"");
}

TEST(NavigationTest, UnendedChildIsFoundAndHasNoData) {
  CXmlDoc document;
  EXPECT_FALSE(document.LoadFromMemory("<a><b>x</a>"));
  ASSERT_TRUE(document.FindChildElement(u"b"));
  EXPECT_EQ(document.GetChildData(), u"");
}

TEST(NavigationTest, RootWithSiblingStaysNavigable) {
  CXmlDoc document;
  EXPECT_FALSE(document.LoadFromMemory("<a><x>1</x></a><b/>"));
  ASSERT_TRUE(document.FindChildElement(u"x"));
  EXPECT_EQ(document.GetChildData(), u"1");
}

TEST(NavigationTest, TagNameEndsAtItsDelimiters) {
  CXmlDoc document;
  document.LoadFromMemory("<r><e\tk='1'>a</e\n><f/><g;x>c</g;x></r>");
  EXPECT_TRUE(document.FindChildElement(u"e"));
  EXPECT_TRUE(document.FindChildElement(u"f"));
  EXPECT_TRUE(document.FindChildElement(u"g"));
  EXPECT_EQ(document.GetChildData(), u"c");
}

struct DataCase {
  const char* content;  // between <e> and </e>
  std::u16string data;
};

class ChildDataTest : public testing::TestWithParam<DataCase> {};

TEST_P(ChildDataTest, DecodesReferencesAndAssemblesSections) {
  CXmlDoc document;
  document.LoadFromMemory(std::string("<r><e>") + GetParam().content + "</e></r>");
  ASSERT_TRUE(document.FindChildElement(u"e"));
  EXPECT_EQ(U8(document.GetChildData()), U8(GetParam().data));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChildDataTest,
    testing::Values(DataCase{"1 &amp; 2", u"1 & 2"}, DataCase{"&#x1F600;", u"\U0001F600"},
                    DataCase{"&#65;&#X42;&#x63;", u"ABc"}, DataCase{"&unknown;", u"&unknown;"},
                    DataCase{"&Oslash;&oslash;&apos;&euro;&nbsp;", u"\u00D8\u00F8'\u20AC\u00A0"},
                    DataCase{"&lt;&gt;&quot;&thetasym;&diams;", u"<>\"\u03D1\u2666"},
                    DataCase{"&#0;&#;&#x;&#xD800;&#x110000;", u"&#0;&#;&#x;&#xD800;&#x110000;"},
                    DataCase{"&abcdefghij;&amp", u"&abcdefghij;&amp"}, DataCase{"&&amp;;", u"&&;"},
                    DataCase{"&#00000065;", u"A"}, DataCase{"a<![CDATA[<b>]]>c", u"a<b>c"},
                    DataCase{"x&amp;<!-- skip -->y<?pi z?><![CDATA[&amp;]]>", u"x&y&amp;"},
                    DataCase{"a < b", u"a < b"}, DataCase{"a</zz>b", u"ab"}, DataCase{"", u""}));

}  // namespace
