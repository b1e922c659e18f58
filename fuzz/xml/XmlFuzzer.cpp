// Feeds arbitrary bytes to the reader as a description file, then walks and reads every
// element and checks that the tree it built is consistent with its text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "xml/CXmlDoc.h"
#include "xml/ControlLayout.h"
#include "xml/XmlLookup.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckTree(const CXmlDoc& document) {
  const size_t textSize = document.GetDocText().size();
  const int count = document.ElementCount();
  for (int index = 0; index < count; ++index) {
    const XmlElementRecord& record = document.Element(index);
    if (record.firstChild != 0) {
      Check(record.firstChild > index && record.firstChild < count);
      const int last = document.Element(record.firstChild).previousSibling;
      Check(last > 0 && last < count);
      Check(document.Element(last).parent == index && document.Element(last).nextSibling == 0);
    }
    if (index == 0) continue;
    Check(record.start < textSize);
    Check(static_cast<size_t>(record.start) + record.length <= textSize);
    Check(record.parent >= 0 && record.parent < index);
    Check(record.nextSibling == 0 || (record.nextSibling > index && record.nextSibling < count));
    if (record.parent != 0) {
      const XmlElementRecord& parent = document.Element(record.parent);
      Check(record.start > parent.start);
      Check(record.start + record.length <= parent.start + parent.length);
    }
    if (record.nextSibling != 0) {
      Check(document.Element(record.nextSibling).parent == record.parent);
    }
  }
}

void ReadEverything(const CXmlDoc& document) {
  const int count = document.ElementCount();
  for (int index = 1; index < count; ++index) {
    const std::u16string data = document.GetElementData(index);
    ParseControlLayout(data);
  }
  const int root = document.RootElement();
  const int section =
      document.FindChildOf(root, document.GetTagName(document.Element(root).firstChild));
  GetXmlValue(document, document.GetTagName(section),
              document.GetTagName(document.Element(section).firstChild));
}

void Navigate(CXmlDoc& document) {
  const std::u16string_view firstName = document.GetTagName(1);
  int steps = 0;
  while (document.FindChildElement(firstName) && steps++ < 64) {
    document.GetChildData();
    document.IntoElement();
  }
  document.ResetPosition();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  CXmlDoc document;
  document.LoadFromMemory(std::string_view(reinterpret_cast<const char*>(data), size));
  CheckTree(document);
  ReadEverything(document);
  Navigate(document);
  return 0;
}
