#pragma once

#include <cstddef>
#include <string_view>

// What starts at a "<" of the document text, and where it ends. Shared by the parse and
// by the reading of element text, so both cut the text the same way.
enum class XmlMarkupKind {
  kStartTag,
  kEmptyTag,
  kEndTag,
  kProcessingInstruction,
  kComment,
  kCData,
  kDoctype,
  kIncorrect,  // not markup: the "<" is text, scanning goes on after it
};

enum class XmlMarkupProblem {
  kNone,
  kUnterminated,
  kTagNameCharacter,
  kBangTag,
  kCommentTag,
  kTag,
};

struct XmlMarkup {
  XmlMarkupKind kind = XmlMarkupKind::kIncorrect;
  XmlMarkupProblem problem = XmlMarkupProblem::kNone;
  size_t end = 0;      // just past the construct
  size_t nameEnd = 0;  // tags: just past the tag name
};

// `lt` must index a "<" of `text`. Never reads outside `text`. A tag's quoted attribute
// values may hold ">"; an unquoted "<" inside a tag ends the tag there (reported as
// unterminated) so that one missing ">" does not swallow the rest of the document.
XmlMarkup ScanXmlMarkup(std::u16string_view text, size_t lt);

// The tag name that starts at `from`: up to a blank, tab, line break, one of < > = \ / ? !
// ; or a quote.
size_t ScanXmlTagName(std::u16string_view text, size_t from);

// The words the result text uses for an unterminated construct of that kind.
std::u16string_view XmlMarkupKindName(XmlMarkupKind kind);
