#pragma once

#include <string>
#include <string_view>

class CXmlDoc;

// The one lookup through which pages read description files: the text of the first
// element named `entry` inside the first element named `section` below the root.
// Empty when the section, the entry or the whole document is missing. The document's
// own position is left alone, so one document can serve lookups from several callers.
std::u16string GetXmlValue(const CXmlDoc& document, std::u16string_view section,
                           std::u16string_view entry);
