#pragma once

#include <string>
#include <string_view>

// What decoding a file's bytes found.
struct XmlDecodeReport {
  std::u16string log;  // encoding found and what was done: "UTF-8 BOM + length 12 ..."
  int docFlags = 0;    // CXmlDoc's encoding flags
};

// Works out the encoding (byte-order mark, declaration, UTF-8 detection, else the ANSI
// code page) and decodes into `text`, replacing its content but reusing its storage, as
// a document is reloaded again and again. Never fails: NUL characters are dropped, a
// trailing odd byte of 16-bit data is ignored, and anything that cannot be converted
// becomes "?".
XmlDecodeReport DecodeXmlBytes(std::string_view bytes, std::u16string& text);
