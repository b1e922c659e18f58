#include "xml/XmlMarkupScanner.h"

#include "xml/XmlFastScan.h"

namespace {

struct TagNameDelimiters {
  bool ascii[128] = {};
  constexpr TagNameDelimiters() {
    for (const char c : std::string_view(" \t\n\r<>=\\/?!\"';")) ascii[static_cast<int>(c)] = true;
  }
};
constexpr TagNameDelimiters kTagNameDelimiters;

bool IsTagNameDelimiter(char16_t c) { return c < 128 && kTagNameDelimiters.ascii[c]; }

bool IsNameStart(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u':' || c == u'_' ||
         c >= 0x7B;
}

XmlMarkup Unterminated(XmlMarkupKind kind, size_t end, size_t nameEnd = 0) {
  return {kind, XmlMarkupProblem::kUnterminated, end, nameEnd};
}

XmlMarkup Incorrect(XmlMarkupProblem problem, size_t lt) {
  return {XmlMarkupKind::kIncorrect, problem, lt + 1, 0};
}

// Finds `terminator` at or after `from`; the construct then ends just past it.
XmlMarkup UpTo(std::u16string_view text, size_t from, std::u16string_view terminator,
               XmlMarkupKind kind) {
  const size_t at = from <= text.size() ? text.find(terminator, from) : std::u16string_view::npos;
  if (at == std::u16string_view::npos) return Unterminated(kind, text.size());
  return {kind, XmlMarkupProblem::kNone, at + terminator.size(), 0};
}

// Start and end tags: quotes hide ">" and "<"; an unquoted "<" ends the tag early.
// End tags take quotes as plain characters.
XmlMarkup ScanTag(std::u16string_view text, size_t lt, size_t nameEnd, XmlMarkupKind kind) {
  const bool quotesCount = kind == XmlMarkupKind::kStartTag;
  for (size_t i = nameEnd;; ++i) {
    i = quotesCount ? FindTagSpecial(text, i) : FindEitherOf(text, i, u'<', u'>');
    if (i >= text.size()) break;
    const char16_t c = text[i];
    if (c == u'>') {
      if (quotesCount && text[i - 1] == u'/' && i - 1 > lt) {
        return {XmlMarkupKind::kEmptyTag, XmlMarkupProblem::kNone, i + 1, nameEnd};
      }
      return {kind, XmlMarkupProblem::kNone, i + 1, nameEnd};
    }
    if (c == u'<') return Unterminated(kind, i, nameEnd);
    i = FindUnit(text, i + 1, c);
    if (i >= text.size()) break;
  }
  return Unterminated(kind, text.size(), nameEnd);
}

// "<!DOCTYPE ...>" with an optional bracketed internal subset, whose declarations may
// hold quoted "]" or ">" and comments.
XmlMarkup ScanDoctype(std::u16string_view text, size_t lt) {
  char16_t quote = 0;
  bool inSubset = false;
  for (size_t i = lt + 2; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == u'"' || c == u'\'') {
      quote = c;
    } else if (inSubset) {
      if (c == u']') {
        inSubset = false;
      } else if (text.substr(i, 4) == u"<!--") {
        const size_t close = text.find(u"-->", i + 4);
        if (close == std::u16string_view::npos) break;
        i = close + 2;
      }
    } else if (c == u'[') {
      inSubset = true;
    } else if (c == u'>') {
      return {XmlMarkupKind::kDoctype, XmlMarkupProblem::kNone, i + 1, 0};
    }
  }
  return Unterminated(XmlMarkupKind::kDoctype, text.size());
}

XmlMarkup ScanBang(std::u16string_view text, size_t lt) {
  if (lt + 2 >= text.size()) return Unterminated(XmlMarkupKind::kIncorrect, text.size());
  switch (text[lt + 2]) {
    case u'-':
      if (lt + 3 >= text.size()) return Unterminated(XmlMarkupKind::kComment, text.size());
      if (text[lt + 3] != u'-') return Incorrect(XmlMarkupProblem::kCommentTag, lt);
      return UpTo(text, lt + 4, u"-->", XmlMarkupKind::kComment);
    case u'[':
      if (lt + 3 >= text.size()) return Unterminated(XmlMarkupKind::kIncorrect, text.size());
      if (text[lt + 3] != u'C') return Incorrect(XmlMarkupProblem::kTag, lt);
      return UpTo(text, lt + 9, u"]]>", XmlMarkupKind::kCData);
    case u'D':
    case u'd':
      return ScanDoctype(text, lt);
    default:
      return Incorrect(XmlMarkupProblem::kBangTag, lt);
  }
}

}  // namespace

size_t ScanXmlTagName(std::u16string_view text, size_t from) {
  size_t i = from;
  while (i < text.size() && !IsTagNameDelimiter(text[i])) ++i;
  return i;
}

XmlMarkup ScanXmlMarkup(std::u16string_view text, size_t lt) {
  if (lt + 1 >= text.size()) return Unterminated(XmlMarkupKind::kIncorrect, text.size());
  const char16_t next = text[lt + 1];
  if (IsNameStart(next)) {
    return ScanTag(text, lt, ScanXmlTagName(text, lt + 1), XmlMarkupKind::kStartTag);
  }
  switch (next) {
    case u'/':
      return ScanTag(text, lt, ScanXmlTagName(text, lt + 2), XmlMarkupKind::kEndTag);
    case u'?':
      return UpTo(text, lt + 2, u"?>", XmlMarkupKind::kProcessingInstruction);
    case u'!':
      return ScanBang(text, lt);
    default:
      return Incorrect(XmlMarkupProblem::kTagNameCharacter, lt);
  }
}

std::u16string_view XmlMarkupKindName(XmlMarkupKind kind) {
  switch (kind) {
    case XmlMarkupKind::kStartTag:
    case XmlMarkupKind::kEmptyTag:
      return u"Element tag";
    case XmlMarkupKind::kEndTag:
      return u"Element end tag";
    case XmlMarkupKind::kCData:
      return u"CDATA Section";
    case XmlMarkupKind::kProcessingInstruction:
      return u"Processing instruction";
    case XmlMarkupKind::kComment:
      return u"Comment";
    case XmlMarkupKind::kDoctype:
      return u"Doctype";
    case XmlMarkupKind::kIncorrect:
      return u"tag";
  }
  return u"tag";
}
