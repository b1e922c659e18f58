#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "XmlTestText.h"
#include "xml/CXmlDoc.h"
#include "xml/XmlLookup.h"

namespace {

class FileTest : public testing::Test {
 protected:
  void SetUp() override {
    m_folder = std::filesystem::temp_directory_path() /
               ("pv37-xml-" + std::to_string(::getpid()) + "-" +
                testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(m_folder / "Skins" / "Languages" / "GE");
  }
  void TearDown() override { std::filesystem::remove_all(m_folder); }

  void Write(const std::string& relative, const std::string& bytes) {
    std::ofstream(m_folder / relative, std::ios::binary) << bytes;
  }

  std::filesystem::path m_folder;
};

TEST_F(FileTest, LoadsWithWindowsSeparatorsAndMixedCase) {
  Write("Skins/Languages/GE/Strings.xml",
        std::string("\xFF\xFE<\0r\0>\0<\0M\0>\0<\0S\0>\0\xC4\0<\0/\0S\0>\0<\0/\0M\0>\0<\0/\0r\0>\0",
                    46));
  const std::string folder = m_folder.string() + "/";
  CXmlDoc document;
  EXPECT_TRUE(document.Load(U16(folder + "\\skins\\Languages\\GE\\strings.xml")))
      << U8(document.GetResult());
  EXPECT_EQ(GetXmlValue(document, u"M", u"S"), u"Ä");
  EXPECT_EQ(document.GetDocFlags(), CXmlDoc::kFlagUtf16Le | CXmlDoc::kFlagReadFile);
}

TEST_F(FileTest, ReadFailureEmptiesTheDocumentWithTheSystemMessage) {
  Write("Strings.xml", "<r><M><S>v</S></M></r>");
  CXmlDoc document;
  ASSERT_TRUE(document.Load(std::string_view(m_folder.string() + "/Strings.xml")));
  EXPECT_FALSE(document.Load(std::string_view(m_folder.string() + "/Skins")));
  EXPECT_EQ(U8(document.GetResult()), "Is a directory");
  EXPECT_EQ(GetXmlValue(document, u"M", u"S"), u"");
  EXPECT_FALSE(document.FindChildElement(u"M"));
}

TEST_F(FileTest, ZeroLengthFileIsReadButNotWellFormed) {
  Write("Empty.xml", "");
  CXmlDoc document;
  EXPECT_FALSE(document.Load(std::string_view(m_folder.string() + "/Empty.xml")));
  EXPECT_EQ(U8(document.GetResult()), "ANSI 0 length Empty document");
}

}  // namespace
