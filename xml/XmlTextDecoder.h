#pragma once

#include <string>
#include <string_view>

// A whole file's bytes turned into the document's UTF-16 text.
struct XmlDecodedText {
  std::u16string text;
  std::u16string log;  // encoding found and what was done: "UTF-8 BOM + length 12 ..."
  int docFlags = 0;    // CXmlDoc's encoding flags
};

// Works out the encoding (byte-order mark, declaration, UTF-8 detection, else the ANSI
// code page) and decodes. Never fails: NUL characters are dropped, a trailing odd byte of
// 16-bit data is ignored, and anything that cannot be converted becomes "?".
XmlDecodedText DecodeXmlBytes(std::string_view bytes);
