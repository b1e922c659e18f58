#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "xml/XmlElementTable.h"
#include "xml/XmlMarkupScanner.h"

// Builds the element tree of a document text without ever rejecting it: end tags close
// the innermost open element of their name (closing any elements above it implicitly),
// unmatched end tags are ignored, and elements still open at the end are closed there.
// Work and memory stay proportional to the text whatever it holds: the open elements
// live on a heap stack, not on the call stack.
class XmlParser {
 public:
  XmlParser(std::u16string_view text, XmlElementTable& elements);

  // Fills the table (index 0 is the document) and returns the parse message: empty
  // when the document is well-formed, otherwise the first error or the root problem.
  std::u16string Parse();

 private:
  struct OpenElement {
    int index;
    std::u16string_view name;
    size_t startTagEnd;
    int lastChild;  // the first child's back link is written once, when the element closes
  };

  void OpenStartTag(size_t lt, const XmlMarkup& markup);
  void CloseWithEndTag(size_t lt, const XmlMarkup& markup);
  void CloseOpenElement(size_t end, size_t endTagLength);
  void EndImplicitlyMovingChildrenUp(const OpenElement& open, OpenElement& parent);
  void CloseAtEndOfText();
  void LinkAsLastChild(int index, int parent, int& lastChild);
  void FinishChildList(int parent, int lastChild);
  int FindOpenElement(std::u16string_view name);
  void PushOpen(const OpenElement& open);
  void PopOpen();
  void Error(std::u16string message);

  std::u16string_view m_text;
  XmlElementTable& m_elements;
  std::vector<OpenElement> m_open;
  int m_lastTopLevel = 0;
  // Built only once an end tag fails to match the innermost element, so well-formed
  // documents never pay for it: open stack positions by name, innermost last.
  std::unordered_map<std::u16string_view, std::vector<int>> m_openByName;
  bool m_openByNameBuilt = false;
  std::u16string m_message;
};
