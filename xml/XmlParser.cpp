#include "xml/XmlParser.h"

#include <algorithm>
#include <string>

#include "xml/XmlFastScan.h"

namespace {

std::u16string Decimal(size_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

std::u16string OffsetText(size_t offset) { return u" at offset " + Decimal(offset); }

std::u16string_view ProblemName(XmlMarkupProblem problem) {
  switch (problem) {
    case XmlMarkupProblem::kTagNameCharacter:
      return u"tag name character";
    case XmlMarkupProblem::kBangTag:
      return u"! tag";
    case XmlMarkupProblem::kCommentTag:
      return u"comment tag";
    default:
      return u"tag";
  }
}

std::uint32_t Level(const XmlElementRecord& record) { return record.flagsAndLevel & kXmlLevelMask; }

}  // namespace

XmlParser::XmlParser(std::u16string_view text, XmlElementTable& elements)
    : m_text(text), m_elements(elements) {}

std::u16string XmlParser::Parse() {
  m_elements.Reset(static_cast<int>(m_text.size() / 64 + 8));
  m_elements.Add();
  m_elements.At(0).length = static_cast<std::uint32_t>(m_text.size());
  if (m_text.empty()) return u"Empty document";

  size_t pos = 0;
  while (pos < m_text.size()) {
    const size_t lt = FindUnit(m_text, pos, u'<');
    if (lt >= m_text.size()) break;
    const XmlMarkup markup = ScanXmlMarkup(m_text, lt);
    if (markup.problem == XmlMarkupProblem::kUnterminated) {
      Error(std::u16string(XmlMarkupKindName(markup.kind)) + OffsetText(lt) + u" unterminated");
    } else if (markup.problem != XmlMarkupProblem::kNone) {
      Error(u"Incorrect " + std::u16string(ProblemName(markup.problem)) + OffsetText(lt));
    }
    if (markup.kind == XmlMarkupKind::kStartTag || markup.kind == XmlMarkupKind::kEmptyTag) {
      OpenStartTag(lt, markup);
    } else if (markup.kind == XmlMarkupKind::kEndTag) {
      CloseWithEndTag(lt, markup);
    }
    pos = markup.end;
  }
  CloseAtEndOfText();
  FinishChildList(0, m_lastTopLevel);

  XmlElementRecord& document = m_elements.At(0);
  if (document.firstChild == 0) {
    m_message = u"No root element";
    document.flagsAndLevel |= kXmlDocumentIllFormed;
  } else if (m_elements.At(document.firstChild).nextSibling != 0) {
    m_message = u"Root element has sibling";
    document.flagsAndLevel |= kXmlDocumentIllFormed;
  }
  return m_message;
}

void XmlParser::OpenStartTag(size_t lt, const XmlMarkup& markup) {
  const int index = m_elements.Add();
  const int parent = m_open.empty() ? 0 : m_open.back().index;
  LinkAsLastChild(index, parent, m_open.empty() ? m_lastTopLevel : m_open.back().lastChild);
  XmlElementRecord& record = m_elements.At(index);
  const size_t tagLength = markup.end - lt;
  record.start = static_cast<std::uint32_t>(lt);
  record.tagLengths =
      static_cast<std::uint32_t>(std::min<size_t>(tagLength, kXmlStartTagLengthMax));
  record.flagsAndLevel |=
      static_cast<std::uint32_t>(std::min<size_t>(m_open.size(), kXmlLevelMask));
  if (markup.kind == XmlMarkupKind::kEmptyTag) {
    record.length = static_cast<std::uint32_t>(tagLength);
    record.flagsAndLevel |= kXmlElementEmpty;
  } else {
    PushOpen({index, m_text.substr(lt + 1, markup.nameEnd - lt - 1), markup.end, 0});
  }
}

void XmlParser::CloseWithEndTag(size_t lt, const XmlMarkup& markup) {
  const std::u16string_view name = m_text.substr(lt + 2, markup.nameEnd - lt - 2);
  const size_t endTagLength = markup.end - lt;
  if (!m_open.empty() && m_open.back().name == name) {
    CloseOpenElement(markup.end, endTagLength);
    return;
  }
  const int match = FindOpenElement(name);
  if (match < 0) {
    Error(u"No start tag for end tag '" + std::u16string(name) + u"'" + OffsetText(lt));
    return;
  }
  const OpenElement& innermost = m_open.back();
  Error(u"End tag '" + std::u16string(name) + u"'" + OffsetText(lt) +
        u" does not match start tag '" + std::u16string(innermost.name) + u"'" +
        OffsetText(m_elements.At(innermost.index).start));
  // Outermost first: each unended element's children, the next unended one among them,
  // move up behind it into the matched element, so every element moves once however
  // deep the nesting.
  for (size_t i = static_cast<size_t>(match) + 1; i < m_open.size(); ++i) {
    EndImplicitlyMovingChildrenUp(m_open[i], m_open[static_cast<size_t>(match)]);
  }
  while (static_cast<int>(m_open.size()) > match + 1) PopOpen();
  CloseOpenElement(markup.end, endTagLength);
}

void XmlParser::CloseOpenElement(size_t end, size_t endTagLength) {
  FinishChildList(m_open.back().index, m_open.back().lastChild);
  XmlElementRecord& record = m_elements.At(m_open.back().index);
  record.length = static_cast<std::uint32_t>(end - record.start);
  record.tagLengths |=
      static_cast<std::uint32_t>(std::min<size_t>(endTagLength, kXmlEndTagLengthMax)) << 22;
  PopOpen();
}

void XmlParser::EndImplicitlyMovingChildrenUp(const OpenElement& open, OpenElement& parent) {
  XmlElementRecord& record = m_elements.At(open.index);
  record.flagsAndLevel |= kXmlElementNotEnded;
  record.length = static_cast<std::uint32_t>(open.startTagEnd - record.start);
  const int firstMoved = record.firstChild;
  if (firstMoved == 0) return;
  record.firstChild = 0;
  record.nextSibling = firstMoved;
  XmlElementRecord& first = m_elements.At(firstMoved);
  first.flagsAndLevel &= ~kXmlElementFirstChild;
  first.previousSibling = open.index;
  parent.lastChild = open.lastChild;
  for (int child = firstMoved; child != 0; child = m_elements.At(child).nextSibling) {
    XmlElementRecord& moved = m_elements.At(child);
    moved.parent = parent.index;
    moved.flagsAndLevel = (moved.flagsAndLevel & ~kXmlLevelMask) | Level(record);
  }
}

void XmlParser::CloseAtEndOfText() {
  while (!m_open.empty()) {
    const OpenElement& open = m_open.back();
    XmlElementRecord& record = m_elements.At(open.index);
    Error(u"Element '" + std::u16string(open.name) + u"'" + OffsetText(record.start) +
          u" not ended");
    record.flagsAndLevel |= kXmlElementNotEnded;
    record.length = static_cast<std::uint32_t>(m_text.size() - record.start);
    FinishChildList(open.index, open.lastChild);
    PopOpen();
  }
}

void XmlParser::LinkAsLastChild(int index, int parent, int& lastChild) {
  XmlElementRecord& record = m_elements.At(index);
  record.parent = parent;
  if (lastChild == 0) {
    m_elements.At(parent).firstChild = index;
    record.flagsAndLevel |= kXmlElementFirstChild;
  } else {
    m_elements.At(lastChild).nextSibling = index;
    record.previousSibling = lastChild;
  }
  lastChild = index;
}

void XmlParser::FinishChildList(int parent, int lastChild) {
  const int first = m_elements.At(parent).firstChild;
  if (first != 0) m_elements.At(first).previousSibling = lastChild;
}

int XmlParser::FindOpenElement(std::u16string_view name) {
  if (!m_openByNameBuilt) {
    for (size_t i = 0; i < m_open.size(); ++i)
      m_openByName[m_open[i].name].push_back(static_cast<int>(i));
    m_openByNameBuilt = true;
  }
  const auto found = m_openByName.find(name);
  if (found == m_openByName.end() || found->second.empty()) return -1;
  return found->second.back();
}

void XmlParser::PushOpen(const OpenElement& open) {
  m_open.push_back(open);
  if (m_openByNameBuilt) m_openByName[open.name].push_back(static_cast<int>(m_open.size() - 1));
}

void XmlParser::PopOpen() {
  if (m_openByNameBuilt) m_openByName[m_open.back().name].pop_back();
  m_open.pop_back();
}

void XmlParser::Error(std::u16string message) {
  if (m_message.empty()) m_message = std::move(message);
  m_elements.At(0).flagsAndLevel |= kXmlDocumentIllFormed;
  if (!m_open.empty()) m_elements.At(m_open.back().index).flagsAndLevel |= kXmlElementErrorInside;
}
