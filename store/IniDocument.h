#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// How the bytes of an INI file are text. A file without a byte-order mark is
// read as 8-bit text in the system code page (UTF-8 here), as the private-profile
// functions read such a file; an empty or new file becomes UTF-16LE with FF FE.
enum class IniEncoding : std::uint8_t { kUtf16Le, kUtf16Be, kUtf8WithBom, kEightBit };

// The content of one INI file with the private-profile semantics: sections and
// keys match without regard to ASCII case, the first of duplicates wins, values
// are trimmed of blanks. Edits touch only the line they change; every other
// byte of the file, including comments, blank lines and text that does not
// decode, is written back as it was read. Parsing never fails.
class IniDocument {
 public:
  // Units a string read returns at most: a 4096-unit buffer less its terminator.
  static constexpr std::size_t kMaxStringUnits = 4095;

  IniDocument();
  static IniDocument Parse(std::string_view bytes);
  std::string Serialize() const;

  IniEncoding Encoding() const { return m_encoding; }
  // True once a write changed the text; a document nobody changed need not be written back.
  bool Changed() const { return m_changed; }

  // The trimmed value up to its first NUL unit; nullopt when the key is absent.
  std::optional<std::u16string_view> FindValue(std::u16string_view section,
                                               std::u16string_view key) const;
  // Surrounding quotes are removed and the text is cut to kMaxStringUnits.
  std::u16string ReadString(std::u16string_view section, std::u16string_view key,
                            std::u16string_view defaultValue) const;
  // The leading decimal number (sign allowed, wrapping at 32 bits, 0 when there
  // is none); the default only when the key is absent or its value empty.
  int ReadInt(std::u16string_view section, std::u16string_view key, int defaultValue) const;
  // False and `target` untouched unless the value has the exact length and checksum.
  bool ReadStruct(std::u16string_view section, std::u16string_view key, void* target,
                  std::size_t size) const;

  // An existing key is changed in place, a new key goes after the last line of
  // its section, a new section at the end of the file. False, and nothing
  // changed, when a name or value could not be stored as one line that reads
  // back as written (line breaks, NUL, '=' or ']' in names, blank-edged names).
  bool WriteString(std::u16string_view section, std::u16string_view key, std::u16string_view value);
  bool WriteInt(std::u16string_view section, std::u16string_view key, int value);
  bool WriteStruct(std::u16string_view section, std::u16string_view key, const void* data,
                   std::size_t size);

  // Section names in file order, and the key names of the first matching section.
  std::vector<std::u16string> SectionNames() const;
  std::vector<std::u16string> KeyNames(std::u16string_view section) const;

 private:
  enum class LineKind : std::uint8_t { kOther, kSection, kKey };
  struct Line {
    // The bytes as read, without the line break, for 8-bit text, which does not
    // always decode losslessly; UTF-16 lines are encoded again from `text`.
    std::string body;
    std::string terminator;  // the line break as read; empty on a last unterminated line
    std::u16string text;
    LineKind kind = LineKind::kOther;
    std::size_t nameBegin = 0, nameEnd = 0, valueBegin = 0, valueEnd = 0;
  };

  void AddLine(std::string_view body, std::string_view terminator);
  Line MakeLine(std::u16string text) const;
  static void Classify(Line& line);
  std::string Encode(std::u16string_view text) const;
  void AppendEncoded(std::string& bytes, std::u16string_view text) const;
  std::u16string Decode(std::string_view bytes) const;
  std::optional<std::size_t> FindSection(std::u16string_view section) const;
  std::size_t SectionEnd(std::size_t header) const;
  std::optional<std::size_t> FindKey(std::size_t header, std::u16string_view key) const;
  void EnsureTerminated(std::size_t index);

  IniEncoding m_encoding = IniEncoding::kUtf16Le;
  std::vector<Line> m_lines;
  bool m_changed = false;
};
