#include <gtest/gtest.h>

#include <string>

#include "XmlTestText.h"
#include "xml/CXmlDoc.h"

namespace {

struct ParseCase {
  const char* document;
  const char* message;  // the parse message that ends the result text; "" when well-formed
};

class ParseMessageTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseMessageTest, KeepsTheFirstErrorWordForWord) {
  const ParseCase& c = GetParam();
  CXmlDoc document;
  const bool wellFormed = document.LoadFromMemory(c.document);
  const std::string result = U8(document.GetResult());
  const std::string expected = c.message;
  EXPECT_EQ(wellFormed, expected.empty()) << result;
  if (expected.empty()) {
    EXPECT_EQ(result.find("offset"), std::string::npos) << result;
  } else {
    ASSERT_GE(result.size(), expected.size()) << result;
    EXPECT_EQ(result.substr(result.size() - expected.size()), expected) << result;
    EXPECT_EQ(result[result.size() - expected.size() - 1], ' ') << result;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseMessageTest,
    testing::Values(
        ParseCase{"<a><b>x</b></a>", ""},
        ParseCase{"<?xml version=\"1.0\"?><!DOCTYPE a [<!ELEMENT a ANY><!ATTLIST a x CDATA "
                  "\"]>\"><!ENTITY e \"<x>\"><!NOTATION n SYSTEM \"n\"><!-- ] > -->]>"
                  "<a x='>' y=\"<\"><!-- c --><?p ?><![CDATA[</a>]]></a>",
                  ""},
        ParseCase{"<a><b>x</a>",
                  "End tag 'a' at offset 7 does not match start tag 'b' at offset 3"},
        ParseCase{"<a/><b/>", "Root element has sibling"},
        ParseCase{"just text", "No root element"},
        ParseCase{"<!-- only a comment -->", "No root element"},
        ParseCase{"<a></b></a>", "No start tag for end tag 'b' at offset 3"},
        ParseCase{"<a><b>", "Element 'b' at offset 3 not ended"},
        ParseCase{"<a>1 < 2</a>", "Incorrect tag name character at offset 5"},
        ParseCase{"<a><!x></a>", "Incorrect ! tag at offset 3"},
        ParseCase{"<a><!-x></a>", "Incorrect comment tag at offset 3"},
        ParseCase{"<a><![X[]]></a>", "Incorrect tag at offset 3"},
        ParseCase{"<a><b x='>", "Element tag at offset 3 unterminated"},
        ParseCase{"<a></a", "Element end tag at offset 3 unterminated"},
        ParseCase{"<a><![CDATA[x", "CDATA Section at offset 3 unterminated"},
        ParseCase{"<a><?pi", "Processing instruction at offset 3 unterminated"},
        ParseCase{"<a><!-- c", "Comment at offset 3 unterminated"},
        ParseCase{"<r><!DOCTYPE a [<!ELEMENT a ANY>", "Doctype at offset 3 unterminated"},
        ParseCase{"<a></a><", "tag at offset 7 unterminated"},
        ParseCase{"<a></b></c></a><d/>", "Root element has sibling"},
        ParseCase{"", "Empty document"}));

TEST(ParseTreeTest, EndTagClosingUnendedElementsMovesTheirChildrenUp) {
  CXmlDoc document;
  document.LoadFromMemory("<a><b><c/><d>x</d>y</a>");
  const int a = document.RootElement();
  const int b = document.Element(a).firstChild;
  ASSERT_EQ(document.GetTagName(b), u"b");
  const XmlElementRecord& bRecord = document.Element(b);
  EXPECT_TRUE(bRecord.flagsAndLevel & kXmlElementNotEnded);
  EXPECT_EQ(bRecord.firstChild, 0);
  EXPECT_EQ(bRecord.length, 3u);
  const int c = bRecord.nextSibling;
  const int d = document.Element(c).nextSibling;
  EXPECT_EQ(document.GetTagName(c), u"c");
  EXPECT_EQ(document.GetTagName(d), u"d");
  EXPECT_EQ(document.Element(c).parent, a);
  EXPECT_EQ(document.Element(d).parent, a);
  EXPECT_EQ(document.Element(b).previousSibling, d) << "a first child points at the last sibling";
  EXPECT_EQ(document.Element(d).flagsAndLevel & kXmlLevelMask, 1u);
  EXPECT_EQ(document.GetElementData(d), u"x");
}

TEST(ParseTreeTest, RecordsOffsetsLengthsAndFlags) {
  CXmlDoc document;
  document.LoadFromMemory("<r>\n <s k=\"v\">t</s>\n <e/>\n</r>");
  const int r = document.RootElement();
  const int s = document.Element(r).firstChild;
  const int e = document.Element(s).nextSibling;
  const XmlElementRecord& sr = document.Element(s);
  EXPECT_EQ(sr.start, 5u);
  EXPECT_EQ(sr.length, 14u);
  EXPECT_EQ(StartTagLength(sr), 9u);
  EXPECT_EQ(EndTagLength(sr), 4u);
  EXPECT_EQ(sr.flagsAndLevel, kXmlElementFirstChild | 1u);
  EXPECT_EQ(document.Element(e).flagsAndLevel, kXmlElementEmpty | 1u);
  EXPECT_EQ(document.Element(r).length, document.GetDocText().size());
}

TEST(ParseTreeTest, UnclosedRootKeepsItsChildrenAtTheEnd) {
  CXmlDoc document;
  EXPECT_FALSE(document.LoadFromMemory("<r><s><e>v</e></s>"));
  const int r = document.RootElement();
  EXPECT_TRUE(document.Element(r).flagsAndLevel & kXmlElementNotEnded);
  EXPECT_EQ(document.Element(r).nextSibling, 0);
  EXPECT_EQ(document.GetElementData(document.FindChildOf(document.FindChildOf(r, u"s"), u"e")),
            u"v");
}

}  // namespace
