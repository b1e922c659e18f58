#include "xml/XmlEncodingDeclaration.h"

#include "platform/Text.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsNameChar(char c) {
  return !IsBlank(c) && c != '=' && c != '>' && c != '<' && c != '/' && c != '?' && c != '"' &&
         c != '\'';
}

bool StartsWithNoCase(std::string_view text, size_t at, std::string_view word) {
  return at <= text.size() && platform::EqualsNoCase(text.substr(at, word.size()), word);
}

// Reads `name="value"`, `name='value'`, `name=value` or a bare `name` pairs of one tag,
// from `pos` up to its ">"; calls `visit(name, value)` for each until it returns true.
template <typename Visit>
void ReadAttributes(std::string_view text, size_t pos, Visit visit) {
  while (pos < text.size()) {
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    if (pos >= text.size() || text[pos] == '>' || text[pos] == '<') break;
    const size_t nameStart = pos;
    while (pos < text.size() && IsNameChar(text[pos])) ++pos;
    const std::string_view name = text.substr(nameStart, pos - nameStart);
    if (name.empty()) {
      ++pos;
      continue;
    }
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    std::string_view value;
    if (pos < text.size() && text[pos] == '=') {
      ++pos;
      while (pos < text.size() && IsBlank(text[pos])) ++pos;
      if (pos < text.size() && (text[pos] == '"' || text[pos] == '\'')) {
        const char quote = text[pos++];
        const size_t close = text.find(quote, pos);
        const size_t end = close == std::string_view::npos ? text.size() : close;
        value = text.substr(pos, end - pos);
        pos = end + 1;
      } else {
        const size_t valueStart = pos;
        while (pos < text.size() && !IsBlank(text[pos]) && text[pos] != '>') ++pos;
        value = text.substr(valueStart, pos - valueStart);
      }
    }
    if (visit(name, value)) return;
  }
}

std::optional<std::string> FromXmlDeclaration(std::string_view head) {
  const size_t close = head.find("?>");
  const std::string_view declaration =
      head.substr(5, close == std::string_view::npos ? std::string_view::npos : close - 5);
  std::optional<std::string> encoding;
  ReadAttributes(declaration, 0, [&](std::string_view name, std::string_view value) {
    if (name != "encoding") return false;
    encoding = std::string(value);
    return true;
  });
  return encoding;
}

// The value after "charset=" in a Content-Type value, up to ";" or a blank.
std::optional<std::string> CharsetOfContentType(std::string_view content) {
  for (size_t at = 0; at + 7 <= content.size(); ++at) {
    if (!StartsWithNoCase(content, at, "charset")) continue;
    size_t pos = at + 7;
    while (pos < content.size() && IsBlank(content[pos])) ++pos;
    if (pos >= content.size() || content[pos] != '=') continue;
    ++pos;
    while (pos < content.size() && IsBlank(content[pos])) ++pos;
    const size_t start = pos;
    while (pos < content.size() && content[pos] != ';' && !IsBlank(content[pos])) ++pos;
    return std::string(content.substr(start, pos - start));
  }
  return std::nullopt;
}

// Skips blanks, comments, processing instructions and a doctype before the first element.
size_t FirstElement(std::string_view head) {
  size_t pos = 0;
  while (pos < head.size()) {
    if (IsBlank(head[pos])) {
      ++pos;
    } else if (head.substr(pos, 4) == "<!--") {
      const size_t close = head.find("-->", pos + 4);
      pos = close == std::string_view::npos ? head.size() : close + 3;
    } else if (head.substr(pos, 2) == "<!" || head.substr(pos, 2) == "<?") {
      const size_t close = head.find('>', pos + 2);
      pos = close == std::string_view::npos ? head.size() : close + 1;
    } else {
      break;
    }
  }
  return pos;
}

std::optional<std::string> FromHtmlHead(std::string_view head) {
  size_t pos = FirstElement(head);
  if (!StartsWithNoCase(head, pos, "<html") || pos + 5 >= head.size() ||
      IsNameChar(head[pos + 5])) {
    return std::nullopt;
  }
  for (pos = head.find('<', pos + 5); pos != std::string_view::npos;
       pos = head.find('<', pos + 1)) {
    if (StartsWithNoCase(head, pos, "</head")) break;
    if (!StartsWithNoCase(head, pos, "<meta") || pos + 5 >= head.size() ||
        IsNameChar(head[pos + 5])) {
      continue;
    }
    bool isContentType = false;
    std::optional<std::string> charset;
    ReadAttributes(head, pos + 5, [&](std::string_view name, std::string_view value) {
      if (platform::EqualsNoCase(name, "http-equiv")) {
        isContentType = platform::EqualsNoCase(value, "Content-Type");
      } else if (platform::EqualsNoCase(name, "content")) {
        charset = CharsetOfContentType(value);
      }
      return false;
    });
    if (isContentType && charset) return charset;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> FindDeclaredEncoding(std::string_view head) {
  if (head.substr(0, 5) == "<?xml") return FromXmlDeclaration(head);
  return FromHtmlHead(head);
}
