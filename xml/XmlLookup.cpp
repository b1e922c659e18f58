#include "xml/XmlLookup.h"

#include "xml/CXmlDoc.h"

std::u16string GetXmlValue(const CXmlDoc& document, std::u16string_view section,
                           std::u16string_view entry) {
  const int root = document.RootElement();
  if (root == 0) return {};
  const int sectionIndex = document.FindChildOf(root, section);
  if (sectionIndex == 0) return {};
  return document.GetElementData(document.FindChildOf(sectionIndex, entry));
}
