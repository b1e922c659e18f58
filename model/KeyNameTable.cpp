#include "model/KeyNameTable.h"

#include <cstdio>
#include <optional>

#include "platform/Folders.h"
#include "platform/KeyboardLayout.h"
#include "platform/Text.h"
#include "xml/XmlLookup.h"

namespace {

constexpr std::u16string_view kSection = u"KEYTABLE";
constexpr std::u16string_view kLanguageCodes[] = {u"JP", u"FR", u"GE", u"UK"};

bool InRange(uint16_t value, uint16_t first, uint16_t last) {
  return value >= first && value <= last;
}

// Keys whose name always comes from the document rather than from the
// character the layout gives them.
bool IsNamedKey(uint16_t vk, bool languageDocument) {
  if (vk == 0xDC) return languageDocument;
  if (vk == 0xF6) return !languageDocument;
  return vk == 0x08 || vk == 0x09 || vk == 0x0C || vk == 0x0D || InRange(vk, 0x10, 0x14) ||
         vk == 0x1B || vk == 0x1D || InRange(vk, 0x20, 0x2F) || InRange(vk, 0x5B, 0x5D) ||
         InRange(vk, 0x60, 0x7B) || vk == 0x90 || vk == 0x91 || InRange(vk, 0xA0, 0xB7) ||
         vk == 0xBA || vk == 0xBB || vk == 0xBD || vk == 0xBF || vk == 0xC0 || vk == 0xDB ||
         vk == 0xDD || vk == 0xDE || vk == 0xFF || vk == 513 || vk == 516 || vk == 519;
}

std::u16string Format(const char* format, unsigned value) {
  char text[16];
  std::snprintf(text, sizeof text, format, value);
  return platform::Utf8ToUtf16(text);
}

std::optional<std::u16string> MouseButtonName(uint16_t vk) {
  switch (vk) {
    case 0xB7:
      return u"Left Button";
    case 0xB8:
      return u"Right Button";
    case 0xB9:
      return u"Middle Button";
    default:
      return std::nullopt;
  }
}

// One whole character: a surrogate pair stays together.
std::u16string FirstCharacter(const std::u16string& text) {
  const bool pair =
      text.size() >= 2 && InRange(text[0], 0xD800, 0xDBFF) && InRange(text[1], 0xDC00, 0xDFFF);
  return text.substr(0, pair ? 2 : 1);
}

}  // namespace

KeyNameTable::KeyNameTable(std::string moduleFolder) : m_moduleFolder(std::move(moduleFolder)) {}

// A missing file is tried again at the next lookup, so a table installed
// later is picked up; once read, the document stays.
const CXmlDoc& KeyNameTable::DefaultDocument() {
  if (!m_defaultLoaded) {
    m_defaultDocument.Load(m_moduleFolder + "table.xml");
    m_defaultLoaded = m_defaultDocument.RootElement() != 0;
  }
  return m_defaultDocument;
}

std::u16string KeyNameTable::KeyName(uint16_t vk, std::u16string_view languageCode) {
  if (auto mouse = MouseButtonName(vk)) return *mouse;

  std::optional<CXmlDoc> languageDocument;
  for (const auto code : kLanguageCodes) {
    if (languageCode == code) {
      languageDocument.emplace();
      languageDocument->Load(m_moduleFolder + "Skins/Languages/" + platform::Utf16ToUtf8(code) +
                             "/table.xml");
    }
  }
  const std::u16string entry = Format("CODE_%02x", vk);

  if (IsNamedKey(vk, languageDocument.has_value())) {
    const CXmlDoc& document = languageDocument ? *languageDocument : DefaultDocument();
    std::u16string name = GetXmlValue(document, kSection, entry);
    return name.empty() ? Format("VK:%x", vk) : name;
  }

  std::u16string fallback = GetXmlValue(DefaultDocument(), kSection, entry);
  if (fallback.empty()) fallback = Format("%x", vk);
  if (fallback.find(u"VK:") != std::u16string::npos) return fallback;

  const auto layout = platform::CurrentKeyboardLayout();
  const std::u16string typed = layout != nullptr ? layout->CapsLockText(vk) : std::u16string();
  if (typed.empty()) return fallback;
  // Button captions treat a single ampersand as a mnemonic marker.
  if (typed[0] == u'&') return u"&&";
  return FirstCharacter(typed);
}

std::u16string KeyName(uint16_t virtualKey, std::u16string_view languageCode) {
  // Any address inside this module finds the folder of the program or library holding it.
  static const char kModuleAnchor = 0;
  static KeyNameTable table(platform::ModuleFolder(&kModuleAnchor));
  return table.KeyName(virtualKey, languageCode);
}
