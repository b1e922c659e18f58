#pragma once

#include <string>
#include <string_view>

// Appends `text` to `out` with its character references decoded: "&#N;", "&#xN;" and the
// HTML 4.01 names plus "apos". A reference that is unknown, not closed by ";" within
// nine characters, or names code point 0, a surrogate or a point beyond U+10FFFF is
// copied as it stands.
void AppendDecodedXmlText(std::u16string& out, std::u16string_view text);

// The code point of an HTML 4.01 character name (or "apos"); 0 when unknown.
char32_t HtmlCharacterByName(std::u16string_view name);
