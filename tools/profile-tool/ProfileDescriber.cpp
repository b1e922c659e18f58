#include "ProfileDescriber.h"

#include "PlainWords.h"
#include "model/FixedText.h"
#include "platform/Text.h"

namespace {

const char* OnOff(int value) { return value == 1 ? "on" : value == 0 ? "off" : "out of range"; }

std::string Quoted(std::u16string_view text) { return "\"" + platform::Utf16ToUtf8(text) + "\""; }

std::string LanguageText(uint8_t code) {
  std::string text = std::to_string(code);
  if (code >= 101 && code <= 108) text += " (\"" + std::string(1, static_cast<char>(code)) + "\")";
  return text;
}

std::string SleepText(uint8_t sleep) {
  return std::to_string(sleep) + (sleep <= 3 ? " (the keyboard may sleep)" : " (sleep off)");
}

}  // namespace

void ProfileDescriber::DescribeConfig(const ConfigRecord& record) {
  m_out << "Settings\n"
        << "  Keyboard connected (Plug): " << (record.plug ? "yes" : "no") << "\n"
        << "  Current mode slot (Profile): " << int{record.profile} << "\n"
        << "  Language (Language): " << LanguageText(record.language) << "\n"
        << "  Key mode (KeyMode): " << int{record.keyMode} << "\n"
        << "  Polling rate (PollingRate): " << int{record.pollingRate} << "\n"
        << "  On-screen display colour (OSD_Color): " << int{record.osdColor} << "\n"
        << "  On-screen display on profile change (OSD_Profile): " << OnOff(record.osdProfile)
        << "\n"
        << "  On-screen display on effect change (OSD_Effect): " << OnOff(record.osdEffect) << "\n"
        << "  Autorun option (UI_Autorun): " << OnOff(record.autorun) << "\n"
        << "  Announce profile changes (SyncMode): " << OnOff(record.syncMode) << "\n"
        << "  Keyboard sleep (Sleep): " << SleepText(record.sleep) << "\n"
        << "Mode slots\n";
  for (int s = 0; s < kSlotCount; ++s) {
    const tagPROFILE_ICONINFO& slot = record.slots[s];
    const std::u16string_view icon = FixedText(slot.profileIconName);
    m_out << "  Slot " << s << ": " << Quoted(FixedText(slot.profileName)) << " (list position "
          << slot.profileId << ", icon " << (icon.empty() ? std::string("none") : Quoted(icon))
          << ", colour " << ColorText(slot.profileColor) << ")"
          << (s == record.profile ? " - current" : "") << "\n";
  }
}

void ProfileDescriber::DescribeProfile(const ProfileBlock& block, const std::string& title) {
  m_out << title << "\n  Linked programs:";
  int linked = 0;
  for (const auto& path : block.linkExe) {
    if (FixedText(path).empty()) continue;
    m_out << (linked++ == 0 ? " " : ", ") << Quoted(FixedText(path));
  }
  m_out << (linked == 0 ? " none\n" : "\n");
  m_out << "  Lighting: " << LightingText(block.lightInfo) << "\n";
  const PerformanceInfo& performance = block.performanceInfo;
  m_out << "  Performance: repeat delay level " << int{performance.repeatDelay}
        << " (3 is the shortest delay), other values " << int{performance.option1} << " "
        << int{performance.option2} << " " << int{performance.option3} << " "
        << int{performance.option4} << ", RepotRate " << block.repotRate << "\n";
  DescribeLayer("Standard layer", block.buttonInfo, kButtonInfoCount, false);
  DescribeLayer("Fn layer", block.fnButtonInfo, kButtonInfoCount, false);
  DescribeLayer("G keys", block.gButtonInfo, kGButtonInfoCount, true);
}

void ProfileDescriber::DescribeLayer(const char* title, const ButtonInfo* keys, int count,
                                     bool gKeys) {
  int changed = 0;
  for (int i = 0; i < count; ++i) changed += keys[i].kind != kKindDefault;
  m_out << "  " << title << ": ";
  if (changed == 0) {
    m_out << "every key does its own function\n";
    return;
  }
  m_out << changed << (changed == 1 ? " key changed\n" : " keys changed\n");
  for (int i = 0; i < count; ++i) {
    if (keys[i].kind == kKindDefault) continue;
    const std::string name = gKeys ? "G" + std::to_string(i + 1) : KeyIndexName(i);
    m_out << "    " << name << ": " << FunctionText(keys[i]) << "\n";
  }
}
