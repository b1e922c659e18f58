#include "xml/CXmlDoc.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/FileSystem.h"
#include "platform/Text.h"
#include "xml/XmlCharacterReferences.h"
#include "xml/XmlMarkupScanner.h"
#include "xml/XmlParser.h"
#include "xml/XmlTextDecoder.h"

namespace {

// Element records hold 32-bit offsets and indexes.
constexpr size_t kMaxFileBytes = 0x7FFF'FFFF;

std::u16string FirstLine(const char* message) {
  std::string_view line(message);
  line = line.substr(0, line.find_first_of("\r\n"));
  return platform::Utf8ToUtf16(line);
}

// Character data and the raw contents of character-data sections of a stretch of
// element text that holds markup; comments, processing instructions and stray end tags
// add nothing, and a "<" that starts no markup is text.
std::u16string AssembleText(std::u16string_view stretch) {
  std::u16string data;
  size_t pos = 0;
  while (pos < stretch.size()) {
    const size_t lt = stretch.find(u'<', pos);
    AppendDecodedXmlText(
        data, stretch.substr(
                  pos, lt == std::u16string_view::npos ? std::u16string_view::npos : lt - pos));
    if (lt == std::u16string_view::npos) break;
    const XmlMarkup markup = ScanXmlMarkup(stretch, lt);
    if (markup.kind == XmlMarkupKind::kCData) {
      const size_t contentStart = std::min(lt + 9, markup.end);
      const size_t contentEnd =
          markup.problem == XmlMarkupProblem::kUnterminated ? markup.end : markup.end - 3;
      if (contentEnd > contentStart)
        data.append(stretch.substr(contentStart, contentEnd - contentStart));
      pos = markup.end;
    } else if (markup.kind == XmlMarkupKind::kIncorrect) {
      data += u'<';
      pos = lt + 1;
    } else {
      pos = markup.end;
    }
  }
  return data;
}

}  // namespace

CXmlDoc::CXmlDoc() { ParseText(); }

bool CXmlDoc::Load(std::u16string_view path) {
  std::u16string slashed(path);
  for (char16_t& c : slashed) {
    if (c == u'\\') c = u'/';
  }
  return Load(std::string_view(platform::Utf16ToUtf8(slashed)));
}

bool CXmlDoc::Load(std::string_view utf8Path) {
  errno = 0;
  const auto bytes = platform::ReadWholeFile(std::string(utf8Path));
  if (!bytes) {
    const int error = errno ? errno : ENOENT;
    SetEmpty(FirstLine(std::strerror(error)));
    return false;
  }
  return LoadFromMemory(*bytes);
}

bool CXmlDoc::LoadFromMemory(std::string_view bytes) {
  if (bytes.size() > kMaxFileBytes) {
    SetEmpty(FirstLine(std::strerror(EFBIG)));
    return false;
  }
  XmlDecodeReport decoded = DecodeXmlBytes(bytes, m_text);
  m_docFlags = decoded.docFlags | kFlagReadFile;
  std::u16string& log = decoded.log;
  while (!log.empty() && log.back() == u' ') log.pop_back();
  m_result = std::move(log);
  return ParseText();
}

bool CXmlDoc::ParseText() {
  ResetPosition();
  std::u16string message = XmlParser(m_text, m_elements).Parse();
  if (!message.empty()) m_result += (m_result.empty() ? u"" : u" ") + message;
  return IsWellFormed();
}

void CXmlDoc::SetEmpty(std::u16string result) {
  m_text.clear();
  m_docFlags = 0;
  ParseText();
  m_result = std::move(result);
}

void CXmlDoc::ResetPosition() {
  m_parentPos = 0;
  m_mainPos = 0;
  m_childPos = 0;
}

bool CXmlDoc::IsWellFormed() const {
  const int root = RootElement();
  return root != 0 && (Element(0).flagsAndLevel & kXmlDocumentIllFormed) == 0 &&
         Element(root).nextSibling == 0;
}

int CXmlDoc::RootElement() const { return ElementCount() > 1 ? Element(0).firstChild : 0; }

bool CXmlDoc::FindChildElement(std::u16string_view name) {
  const int main = m_mainPos ? m_mainPos : RootElement();
  if (main == 0) return false;
  const int found = FindChildOf(main, name, m_mainPos ? m_childPos : 0);
  if (found == 0) return false;
  m_mainPos = main;
  m_parentPos = Element(main).parent;
  m_childPos = found;
  return true;
}

bool CXmlDoc::IntoElement() {
  if (m_mainPos == 0) return false;
  m_parentPos = m_mainPos;
  m_mainPos = m_childPos;
  m_childPos = 0;
  return true;
}

std::u16string CXmlDoc::GetChildData() const { return GetElementData(m_childPos); }

int CXmlDoc::FindChildOf(int parentIndex, std::u16string_view name, int afterIndex) const {
  if (parentIndex < 0 || parentIndex >= ElementCount()) return 0;
  const bool validAfter =
      afterIndex > 0 && afterIndex < ElementCount() && Element(afterIndex).parent == parentIndex;
  int child = validAfter ? Element(afterIndex).nextSibling : Element(parentIndex).firstChild;
  for (; child != 0; child = Element(child).nextSibling) {
    if (GetTagName(child) == name) return child;
  }
  return 0;
}

std::u16string_view CXmlDoc::GetTagName(int index) const {
  if (index <= 0 || index >= ElementCount()) return {};
  const size_t start = Element(index).start + 1;
  return std::u16string_view(m_text).substr(start, ScanXmlTagName(m_text, start) - start);
}

std::u16string CXmlDoc::GetElementData(int index) const {
  if (index <= 0 || index >= ElementCount()) return {};
  const XmlElementRecord& record = Element(index);
  if (record.firstChild != 0 ||
      (record.flagsAndLevel & (kXmlElementEmpty | kXmlElementNotEnded)) != 0) {
    return {};
  }
  const std::u16string_view text(m_text);
  const size_t elementEnd = static_cast<size_t>(record.start) + record.length;
  size_t contentStart = record.start + StartTagLength(record);
  if (StartTagLength(record) == kXmlStartTagLengthMax) {
    contentStart = ScanXmlMarkup(text, record.start).end;
  }
  size_t contentEnd = elementEnd - EndTagLength(record);
  if (EndTagLength(record) == kXmlEndTagLengthMax) {
    // End tags hold no "<" after their first character, so the last one starts them.
    contentEnd = text.substr(0, elementEnd).rfind(u'<');
  }
  if (contentEnd == std::u16string_view::npos || contentEnd <= contentStart) return {};
  const std::u16string_view stretch = text.substr(contentStart, contentEnd - contentStart);
  if (stretch.find(u'<') == std::u16string_view::npos) {
    std::u16string data;
    AppendDecodedXmlText(data, stretch);
    return data;
  }
  return AssembleText(stretch);
}
