#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "xml/XmlElementRecord.h"
#include "xml/XmlElementTable.h"

// The read-only XML reader of both deliverables. It keeps the whole file as one UTF-16
// text, parses it leniently into element records that point into that text, and
// answers queries through a movable position (parent, main, child). Nothing here
// throws on bad input: an ill-formed document is still navigable, and a file that
// cannot be read leaves an empty document that answers every query with nothing.
class CXmlDoc {
 public:
  // Document flags.
  static constexpr int kFlagUtf16Le = 0x01;
  static constexpr int kFlagUtf8Bom = 0x04;
  static constexpr int kFlagReadFile = 0x10;
  static constexpr int kFlagUtf16Be = 0x80;

  // An empty document, already parsed (result text "Empty document").
  CXmlDoc();

  // Reads and parses a file. True when the file was read and the document is
  // well-formed; callers may ignore it, an ill-formed document stays navigable.
  // The wide form takes "\" as a folder separator too. On a read failure the result
  // text is the system's message and the document is empty.
  bool Load(std::u16string_view path);
  bool Load(std::string_view utf8Path);

  // Same as Load on bytes already in memory (the file's whole content).
  bool LoadFromMemory(std::string_view bytes);

  // Parent, main and child positions all back to "none".
  void ResetPosition();

  // Finds the next child of the main element (after the current child) whose tag name
  // equals `name` exactly; with no main element the root becomes the main element
  // first. Positions change only when found.
  bool FindChildElement(std::u16string_view name);

  // The main element becomes the parent and the current child the main element.
  // False (nothing changes) when there is no main element.
  bool IntoElement();

  // The decoded text of the current child element; empty when there is no child, when
  // it has child elements, or when it was never ended.
  std::u16string GetChildData() const;

  // Log of the last load (encoding found, sizes) and the first parse error.
  const std::u16string& GetResult() const { return m_result; }
  const std::u16string& GetDocText() const { return m_text; }
  int GetDocFlags() const { return m_docFlags; }
  bool IsWellFormed() const;

  // Position-free navigation: element indexes, 0 meaning none. These never touch the
  // document's positions, so lookups built on them can share one document.
  int RootElement() const;
  int FindChildOf(int parentIndex, std::u16string_view name, int afterIndex = 0) const;
  std::u16string GetElementData(int index) const;
  std::u16string_view GetTagName(int index) const;

  int ParentPosition() const { return m_parentPos; }
  int MainPosition() const { return m_mainPos; }
  int ChildPosition() const { return m_childPos; }
  int ElementCount() const { return m_elements.Count(); }
  const XmlElementRecord& Element(int index) const { return m_elements.At(index); }

 private:
  bool ParseText();
  void SetEmpty(std::u16string result);

  std::u16string m_text;
  std::u16string m_result;
  int m_parentPos = 0;
  int m_mainPos = 0;
  int m_childPos = 0;
  int m_docFlags = 0;
  XmlElementTable m_elements;
};
