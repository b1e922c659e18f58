#include "store/IniDocument.h"

#include <algorithm>

#include "platform/Text.h"
#include "store/DecimalText.h"
#include "store/StructText.h"

namespace {

constexpr char16_t kCrLf[] = u"\r\n";

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

bool IsBlankLine(std::u16string_view text) {
  for (char16_t c : text)
    if (!IsBlank(c)) return false;
  return true;
}

std::size_t SkipBlanks(std::u16string_view text, std::size_t from) {
  while (from < text.size() && IsBlank(text[from])) ++from;
  return from;
}

std::size_t TrimEnd(std::u16string_view text, std::size_t begin, std::size_t end) {
  while (end > begin && IsBlank(text[end - 1])) --end;
  return end;
}

bool HasAny(std::u16string_view text, std::u16string_view units) {
  return text.find_first_of(units) != std::u16string_view::npos;
}

bool HasBlankEdge(std::u16string_view text) {
  return !text.empty() && (IsBlank(text.front()) || IsBlank(text.back()));
}

// Names that would be split, merged or read back differently are refused, so a
// caller's text can never add lines or sections to the file.
bool IsStorableSection(std::u16string_view name) {
  return !name.empty() && !HasBlankEdge(name) && !HasAny(name, std::u16string_view(u"\r\n]\0", 4));
}

bool IsStorableKey(std::u16string_view name) {
  return !name.empty() && !HasBlankEdge(name) && name.front() != u'[' && name.front() != u';' &&
         !HasAny(name, std::u16string_view(u"\r\n=\0", 4));
}

bool IsStorableValue(std::u16string_view value) {
  return !HasAny(value, std::u16string_view(u"\r\n\0", 3));
}

std::u16string_view Unquoted(std::u16string_view value) {
  if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
      value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

// Reads a number the way the private-profile integer read does: optional
// blanks and sign, then decimal digits until the first other unit, with
// 32-bit wrap-around; text without digits gives 0.
int ParseLeadingInt(std::u16string_view text) {
  std::size_t i = SkipBlanks(text, 0);
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  std::uint32_t value = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
    value = value * 10u + static_cast<std::uint32_t>(text[i] - u'0');
  if (negative) value = 0u - value;
  return static_cast<int>(value);
}

std::size_t BomSize(IniEncoding encoding) {
  switch (encoding) {
    case IniEncoding::kUtf16Le:
    case IniEncoding::kUtf16Be:
      return 2;
    case IniEncoding::kUtf8WithBom:
      return 3;
    case IniEncoding::kEightBit:
      return 0;
  }
  return 0;
}

const char* Bom(IniEncoding encoding) {
  switch (encoding) {
    case IniEncoding::kUtf16Le:
      return "\xFF\xFE";
    case IniEncoding::kUtf16Be:
      return "\xFE\xFF";
    case IniEncoding::kUtf8WithBom:
      return "\xEF\xBB\xBF";
    case IniEncoding::kEightBit:
      return "";
  }
  return "";
}

IniEncoding DetectEncoding(std::string_view bytes) {
  if (bytes.empty() || bytes.starts_with("\xFF\xFE")) return IniEncoding::kUtf16Le;
  if (bytes.starts_with("\xFE\xFF")) return IniEncoding::kUtf16Be;
  if (bytes.starts_with("\xEF\xBB\xBF")) return IniEncoding::kUtf8WithBom;
  return IniEncoding::kEightBit;
}

bool IsWide(IniEncoding encoding) {
  return encoding == IniEncoding::kUtf16Le || encoding == IniEncoding::kUtf16Be;
}

}  // namespace

IniDocument::IniDocument() = default;

IniDocument IniDocument::Parse(std::string_view bytes) {
  IniDocument doc;
  doc.m_encoding = DetectEncoding(bytes);
  std::string_view content = bytes.substr(std::min(bytes.size(), BomSize(doc.m_encoding)));
  const bool wide = IsWide(doc.m_encoding);
  // A torn last unit keeps its byte: it is completed with a zero high byte
  // rather than dropped, so no byte of the file is ever lost.
  std::string padded;
  if (wide && content.size() % 2 != 0) {
    padded.assign(content);
    padded.push_back('\0');
    content = padded;
  }
  const std::size_t width = wide ? 2 : 1;
  const bool bigEndian = doc.m_encoding == IniEncoding::kUtf16Be;
  auto unitAt = [&](std::size_t at) -> char16_t {
    if (!wide) return static_cast<unsigned char>(content[at]);
    const auto first = static_cast<unsigned char>(content[at]);
    const auto second = static_cast<unsigned char>(content[at + 1]);
    return bigEndian ? static_cast<char16_t>(first << 8 | second)
                     : static_cast<char16_t>(second << 8 | first);
  };
  std::size_t start = 0;
  for (std::size_t at = 0; at < content.size(); at += width) {
    if (unitAt(at) != u'\n') continue;
    std::size_t bodyEnd = at;
    if (bodyEnd >= start + width && unitAt(bodyEnd - width) == u'\r') bodyEnd -= width;
    doc.AddLine(content.substr(start, bodyEnd - start),
                content.substr(bodyEnd, at + width - bodyEnd));
    start = at + width;
  }
  if (start < content.size()) doc.AddLine(content.substr(start), {});
  return doc;
}

std::string IniDocument::Serialize() const {
  const bool wide = IsWide(m_encoding);
  std::size_t total = BomSize(m_encoding);
  for (const Line& line : m_lines)
    total += (wide ? line.text.size() * 2 : line.body.size()) + line.terminator.size();
  std::string bytes;
  bytes.reserve(total);
  bytes.append(Bom(m_encoding), BomSize(m_encoding));
  for (const Line& line : m_lines) {
    if (wide)
      AppendEncoded(bytes, line.text);
    else
      bytes += line.body;
    bytes += line.terminator;
  }
  return bytes;
}

void IniDocument::AddLine(std::string_view body, std::string_view terminator) {
  Line line;
  line.text = Decode(body);
  if (!IsWide(m_encoding)) line.body.assign(body);
  line.terminator.assign(terminator);
  Classify(line);
  m_lines.push_back(std::move(line));
}

IniDocument::Line IniDocument::MakeLine(std::u16string text) const {
  Line line;
  if (!IsWide(m_encoding)) line.body = Encode(text);
  line.terminator = Encode(kCrLf);
  line.text = std::move(text);
  Classify(line);
  return line;
}

void IniDocument::Classify(Line& line) {
  const std::u16string_view text = line.text;
  line.kind = LineKind::kOther;
  const std::size_t first = SkipBlanks(text, 0);
  if (first == text.size() || text[first] == u';') return;
  if (text[first] == u'[') {
    // A header without its closing bracket still opens a section, so the keys
    // under it are never taken for keys of the section before.
    const std::size_t close = text.find(u']', first + 1);
    const std::size_t end = close == std::u16string_view::npos ? text.size() : close;
    line.kind = LineKind::kSection;
    line.nameBegin = SkipBlanks(text, first + 1);
    line.nameEnd = TrimEnd(text, line.nameBegin, std::max(end, line.nameBegin));
    return;
  }
  const std::size_t equals = text.find(u'=', first);
  if (equals == std::u16string_view::npos) return;
  line.nameBegin = first;
  line.nameEnd = TrimEnd(text, first, equals);
  if (line.nameEnd == line.nameBegin) return;
  line.kind = LineKind::kKey;
  line.valueBegin = SkipBlanks(text, equals + 1);
  line.valueEnd = TrimEnd(text, line.valueBegin, text.size());
}

std::string IniDocument::Encode(std::u16string_view text) const {
  std::string bytes;
  AppendEncoded(bytes, text);
  return bytes;
}

void IniDocument::AppendEncoded(std::string& bytes, std::u16string_view text) const {
  if (!IsWide(m_encoding)) {
    bytes += platform::Utf16ToUtf8(text);
    return;
  }
  const std::size_t at = bytes.size();
  bytes.resize(at + text.size() * 2);
  const bool bigEndian = m_encoding == IniEncoding::kUtf16Be;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto low = static_cast<char>(text[i] & 0xFF);
    const auto high = static_cast<char>(text[i] >> 8);
    bytes[at + i * 2] = bigEndian ? high : low;
    bytes[at + i * 2 + 1] = bigEndian ? low : high;
  }
}

std::u16string IniDocument::Decode(std::string_view bytes) const {
  if (!IsWide(m_encoding)) return platform::Utf8ToUtf16(bytes);
  std::u16string text(bytes.size() / 2, u'\0');
  const bool bigEndian = m_encoding == IniEncoding::kUtf16Be;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto first = static_cast<unsigned char>(bytes[i * 2]);
    const auto second = static_cast<unsigned char>(bytes[i * 2 + 1]);
    text[i] = bigEndian ? static_cast<char16_t>(first << 8 | second)
                        : static_cast<char16_t>(second << 8 | first);
  }
  return text;
}

std::optional<std::size_t> IniDocument::FindSection(std::u16string_view section) const {
  for (std::size_t i = 0; i < m_lines.size(); ++i) {
    const Line& line = m_lines[i];
    if (line.kind != LineKind::kSection) continue;
    const std::u16string_view name(line.text.data() + line.nameBegin,
                                   line.nameEnd - line.nameBegin);
    if (platform::EqualsNoCase(name, section)) return i;
  }
  return std::nullopt;
}

std::size_t IniDocument::SectionEnd(std::size_t header) const {
  std::size_t i = header + 1;
  while (i < m_lines.size() && m_lines[i].kind != LineKind::kSection) ++i;
  return i;
}

std::optional<std::size_t> IniDocument::FindKey(std::size_t header, std::u16string_view key) const {
  const std::size_t end = SectionEnd(header);
  for (std::size_t i = header + 1; i < end; ++i) {
    const Line& line = m_lines[i];
    if (line.kind != LineKind::kKey) continue;
    const std::u16string_view name(line.text.data() + line.nameBegin,
                                   line.nameEnd - line.nameBegin);
    if (platform::EqualsNoCase(name, key)) return i;
  }
  return std::nullopt;
}

std::optional<std::u16string_view> IniDocument::FindValue(std::u16string_view section,
                                                          std::u16string_view key) const {
  const auto header = FindSection(section);
  if (!header) return std::nullopt;
  const auto index = FindKey(*header, key);
  if (!index) return std::nullopt;
  const Line& line = m_lines[*index];
  std::u16string_view value(line.text.data() + line.valueBegin, line.valueEnd - line.valueBegin);
  return value.substr(0, value.find(u'\0'));
}

std::u16string IniDocument::ReadString(std::u16string_view section, std::u16string_view key,
                                       std::u16string_view defaultValue) const {
  const auto value = FindValue(section, key);
  const std::u16string_view text = value ? Unquoted(*value) : defaultValue;
  return std::u16string(text.substr(0, kMaxStringUnits));
}

int IniDocument::ReadInt(std::u16string_view section, std::u16string_view key,
                         int defaultValue) const {
  const auto value = FindValue(section, key);
  if (!value) return defaultValue;
  const std::u16string_view text = Unquoted(*value).substr(0, kMaxStringUnits);
  return text.empty() ? defaultValue : ParseLeadingInt(text);
}

bool IniDocument::ReadStruct(std::u16string_view section, std::u16string_view key, void* target,
                             std::size_t size) const {
  const auto value = FindValue(section, key);
  return value && DecodeStructText(*value, target, size);
}

void IniDocument::EnsureTerminated(std::size_t index) {
  if (m_lines[index].terminator.empty()) m_lines[index].terminator = Encode(kCrLf);
}

bool IniDocument::WriteString(std::u16string_view section, std::u16string_view key,
                              std::u16string_view value) {
  if (!IsStorableSection(section) || !IsStorableKey(key) || !IsStorableValue(value)) return false;
  const auto header = FindSection(section);
  if (!header) {
    m_changed = true;
    if (!m_lines.empty()) EnsureTerminated(m_lines.size() - 1);
    m_lines.push_back(MakeLine(u"[" + std::u16string(section) + u"]"));
    m_lines.push_back(MakeLine(std::u16string(key) + u"=" + std::u16string(value)));
    return true;
  }
  if (const auto index = FindKey(*header, key)) {
    Line& line = m_lines[*index];
    std::u16string text =
        line.text.substr(line.nameBegin, line.nameEnd - line.nameBegin) + u"=" + std::u16string(value);
    if (text == line.text) return true;
    std::string terminator = std::move(line.terminator);
    line = MakeLine(std::move(text));
    line.terminator = std::move(terminator);
    m_changed = true;
    return true;
  }
  m_changed = true;
  std::size_t last = *header;
  const std::size_t end = SectionEnd(*header);
  for (std::size_t i = *header + 1; i < end; ++i)
    if (!IsBlankLine(m_lines[i].text)) last = i;
  EnsureTerminated(last);
  m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(last + 1),
                 MakeLine(std::u16string(key) + u"=" + std::u16string(value)));
  return true;
}

bool IniDocument::WriteInt(std::u16string_view section, std::u16string_view key, int value) {
  return WriteString(section, key, DecimalText(value));
}

bool IniDocument::WriteStruct(std::u16string_view section, std::u16string_view key,
                              const void* data, std::size_t size) {
  return WriteString(section, key, EncodeStructText(data, size));
}

std::vector<std::u16string> IniDocument::SectionNames() const {
  std::vector<std::u16string> names;
  for (const Line& line : m_lines)
    if (line.kind == LineKind::kSection)
      names.push_back(line.text.substr(line.nameBegin, line.nameEnd - line.nameBegin));
  return names;
}

std::vector<std::u16string> IniDocument::KeyNames(std::u16string_view section) const {
  std::vector<std::u16string> names;
  const auto header = FindSection(section);
  if (!header) return names;
  const std::size_t end = SectionEnd(*header);
  for (std::size_t i = *header + 1; i < end; ++i)
    if (m_lines[i].kind == LineKind::kKey)
      names.push_back(
          m_lines[i].text.substr(m_lines[i].nameBegin, m_lines[i].nameEnd - m_lines[i].nameBegin));
  return names;
}
