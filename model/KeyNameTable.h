#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "xml/CXmlDoc.h"

// Names keys on screen from the key-name documents beside the program: the
// default "table.xml" and one copy per keyboard language under
// "Skins/Languages/<code>/". The default document is read once and kept; a
// language document is read afresh at every lookup, so an edited file shows
// at once. Missing documents behave as empty ones.
class KeyNameTable {
 public:
  // moduleFolder ends with '/'.
  explicit KeyNameTable(std::string moduleFolder);

  // languageCode is the string document's GLOBAL/LANG text; "JP", "FR", "GE"
  // and "UK" choose their own document, anything else the default one.
  std::u16string KeyName(uint16_t virtualKey, std::u16string_view languageCode);

 private:
  const CXmlDoc& DefaultDocument();

  std::string m_moduleFolder;
  CXmlDoc m_defaultDocument;
  bool m_defaultLoaded = false;
};

// The name of a key for the program or library this code is linked into.
std::u16string KeyName(uint16_t virtualKey, std::u16string_view languageCode);
