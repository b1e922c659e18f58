#include "IniDocumentCheck.h"

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/Text.h"
#include "store/IniDocument.h"

namespace {

using ValueList = std::vector<
    std::pair<std::pair<std::u16string, std::u16string>, std::optional<std::u16string>>>;

// Every value the document holds, by section and key as listed.
ValueList AllValues(const IniDocument& doc) {
  ValueList values;
  for (const std::u16string& section : doc.SectionNames())
    for (const std::u16string& key : doc.KeyNames(section)) {
      const auto value = doc.FindValue(section, key);
      values.push_back(
          {{section, key}, value ? std::optional<std::u16string>(*value) : std::nullopt});
    }
  return values;
}

bool IsWide(IniEncoding encoding) {
  return encoding == IniEncoding::kUtf16Le || encoding == IniEncoding::kUtf16Be;
}

}  // namespace

std::optional<std::string> CheckIniDocument(std::string_view bytes) {
  IniDocument doc = IniDocument::Parse(bytes);
  const bool completed = IsWide(doc.Encoding()) && bytes.size() % 2 != 0;
  if (!bytes.empty() && !completed && doc.Serialize() != bytes)
    return "an untouched document does not write back its own bytes";

  doc.ReadString(u"GROUP", u"CurrentProfileName", u"");
  doc.ReadInt(u"Setting", u"Sleep", 4);
  std::array<std::uint8_t, 112> light{};
  doc.ReadStruct(u"GROUP", u"LIGHT_INFO", light.data(), light.size());

  const ValueList before = AllValues(doc);
  const std::array<std::uint8_t, 5> record = {3, 0, 0, 1, 0};
  if (!doc.WriteStruct(u"GROUP", u"PERFORMANCE_INFO", record.data(), record.size()))
    return "a plain struct write was refused";
  const IniDocument reread = IniDocument::Parse(doc.Serialize());
  std::array<std::uint8_t, 5> readBack{};
  if (!reread.ReadStruct(u"GROUP", u"PERFORMANCE_INFO", readBack.data(), readBack.size()) ||
      readBack != record)
    return "a written struct does not read back";
  for (const auto& [where, value] : before) {
    if (platform::EqualsNoCase(where.first, u"GROUP") &&
        platform::EqualsNoCase(where.second, u"PERFORMANCE_INFO"))
      continue;
    const auto now = reread.FindValue(where.first, where.second);
    const std::optional<std::u16string> nowValue =
        now ? std::optional<std::u16string>(*now) : std::nullopt;
    if (nowValue != value) return "a write changed another value";
  }
  return std::nullopt;
}
