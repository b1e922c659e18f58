#include "RepairReport.h"

#include <sys/stat.h>

#include <cstring>
#include <functional>
#include <memory>
#include <set>
#include <vector>

#include "PlainWords.h"
#include "model/FixedText.h"
#include "platform/Text.h"
#include "store/ConfigFile.h"
#include "store/DecimalText.h"
#include "store/IniFile.h"
#include "store/ProfileFile.h"
#include "store/ProfileName.h"

namespace {

constexpr std::u16string_view kGroup = u"GROUP";
constexpr std::u16string_view kSetting = u"Setting";
constexpr std::u16string_view kRepotRateKey = u"RepotRate";

std::string Narrow(std::u16string_view text) { return platform::Utf16ToUtf8(text); }

// Keys match without regard to case, so they are compared folded.
std::u16string Folded(std::u16string_view key) {
  std::u16string folded(key);
  for (char16_t& c : folded) c = platform::AsciiLower(c);
  return folded;
}

bool Exists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

struct SettingField {
  const char16_t* key;
  int defaultValue;
  const char* range;
  std::function<int(const ConfigRecord&)> get;
};

std::vector<SettingField> SettingFields() {
  return {
      {u"Profile", 0, "0..3", [](const ConfigRecord& r) { return int{r.profile}; }},
      {u"KeyMode", 0, "0..1", [](const ConfigRecord& r) { return int{r.keyMode}; }},
      {u"PollingRate", 3, "0..3", [](const ConfigRecord& r) { return int{r.pollingRate}; }},
      {u"Language", 0, "101..108", [](const ConfigRecord& r) { return int{r.language}; }},
      {u"OSD_Color", 0, "0..2", [](const ConfigRecord& r) { return int{r.osdColor}; }},
      {u"OSD_Profile", 1, "0..1", [](const ConfigRecord& r) { return r.osdProfile; }},
      {u"OSD_Effect", 1, "0..1", [](const ConfigRecord& r) { return r.osdEffect; }},
      {u"UI_Autorun", 1, "0..1", [](const ConfigRecord& r) { return r.autorun; }},
      {u"SyncMode", 0, "0..1", [](const ConfigRecord& r) { return int{r.syncMode}; }},
      {u"Sleep", 4, "0..4", [](const ConfigRecord& r) { return int{r.sleep}; }},
  };
}

struct RecordKey {
  std::u16string key;
  std::size_t size;
  std::string part;
};

std::vector<RecordKey> RecordKeys() {
  std::vector<RecordKey> keys = {
      {u"LIGHT_INFO", sizeof(LightInfo), "the lighting"},
      {u"PERFORMANCE_INFO", sizeof(PerformanceInfo), "the performance values"}};
  for (int i = 0; i < kButtonInfoCount; ++i)
    keys.push_back({u"BUTTON_INFO_" + DecimalText(i), sizeof(ButtonInfo),
                    KeyIndexName(i) + " on the standard layer"});
  for (int i = 0; i < kButtonInfoCount; ++i)
    keys.push_back({u"FNBUTTON_INFO_" + DecimalText(i), sizeof(ButtonInfo),
                    KeyIndexName(i) + " on the Fn layer"});
  for (int i = 0; i < kGButtonInfoCount; ++i)
    keys.push_back(
        {u"G_BUTTON_INFO_" + DecimalText(i), sizeof(ButtonInfo), "G key " + std::to_string(i + 1)});
  return keys;
}

std::string StructProblem(std::u16string_view value, std::size_t size) {
  const std::size_t expected = size * 2 + 2;
  if (value.size() != expected)
    return "has " + std::to_string(value.size()) + " digits where " + std::to_string(expected) +
           " are expected";
  if (value.find_first_not_of(u"0123456789ABCDEFabcdef") != std::u16string_view::npos)
    return "holds characters that are not hexadecimal digits";
  return "fails its checksum";
}

struct ProfileField {
  const char16_t* key;
  const char* what;
  std::function<uint32_t(const ProfileBlock&)> get;
  bool isColor;
};

std::vector<ProfileField> ProfileFields() {
  return {
      {u"RepotRate", "RepotRate", [](const ProfileBlock& b) { return uint32_t(b.repotRate); },
       false},
      {u"PERFORMANCE_INFO", "PERFORMANCE_INFO repeat delay",
       [](const ProfileBlock& b) { return uint32_t{b.performanceInfo.repeatDelay}; }, false},
      {u"PERFORMANCE_INFO", "PERFORMANCE_INFO byte 1",
       [](const ProfileBlock& b) { return uint32_t{b.performanceInfo.option1}; }, false},
      {u"PERFORMANCE_INFO", "PERFORMANCE_INFO byte 2",
       [](const ProfileBlock& b) { return uint32_t{b.performanceInfo.option2}; }, false},
      {u"PERFORMANCE_INFO", "PERFORMANCE_INFO byte 3",
       [](const ProfileBlock& b) { return uint32_t{b.performanceInfo.option3}; }, false},
      {u"PERFORMANCE_INFO", "PERFORMANCE_INFO byte 4",
       [](const ProfileBlock& b) { return uint32_t{b.performanceInfo.option4}; }, false},
      {u"LIGHT_INFO", "LIGHT_INFO effect",
       [](const ProfileBlock& b) { return uint32_t{b.lightInfo.effect}; }, false},
      {u"LIGHT_INFO", "LIGHT_INFO colour mode",
       [](const ProfileBlock& b) { return uint32_t{b.lightInfo.colorMode}; }, false},
      {u"LIGHT_INFO", "LIGHT_INFO brightness",
       [](const ProfileBlock& b) { return uint32_t{b.lightInfo.brightness}; }, false},
      {u"LIGHT_INFO", "LIGHT_INFO speed",
       [](const ProfileBlock& b) { return uint32_t{b.lightInfo.speed}; }, false},
      {u"LIGHT_INFO", "LIGHT_INFO colour choice",
       [](const ProfileBlock& b) { return uint32_t{b.lightInfo.colorOption}; }, false},
      {u"LIGHT_INFO", "LIGHT_INFO colour", [](const ProfileBlock& b) { return b.lightInfo.color; },
       true},
  };
}

std::string ValueText(uint32_t value, bool isColor) {
  if (!isColor) return std::to_string(static_cast<int32_t>(value));
  return value > 0xFFFFFF ? "beyond 24 bits" : value == 0 ? "0 (none)" : ColorText(value);
}

}  // namespace

void RepairReport::Repair(const std::string& text) {
  ++m_repairs;
  m_out << "  repair: " << text << "\n";
}

void RepairReport::Note(const std::string& text) { m_out << "  note: " << text << "\n"; }

void RepairReport::CheckDataFolder(const std::string& dataFolder) {
  const std::string path = ConfigPath(dataFolder);
  m_out << "Checking " << path << "\n";
  if (!Exists(path)) {
    Repair(
        "config.ini is missing: the first start creates it with the list count, the four "
        "mode slots, their list entries and their profile files.");
    return;
  }
  IniDocument doc = IniFile(path).Load();
  if (doc.Encoding() != IniEncoding::kUtf16Le)
    Note(
        "the file does not start with the UTF-16 byte-order mark; it is read as it is and "
        "keeps its encoding when written.");

  auto record = std::make_unique<ConfigRecord>();
  ResetConfig(*record);
  const int listNumber = doc.ReadInt(u"MyXlistNumber", u"TotalListNumber", -1);
  std::vector<int> created;
  ReadConfigDocument(doc, *record, created);
  auto repaired = std::make_unique<ConfigRecord>(*record);
  RepairConfig(*repaired);

  for (const SettingField& field : SettingFields()) {
    // A missing value simply takes its default; only stored values are repaired.
    if (!doc.FindValue(kSetting, field.key)) continue;
    const std::string key = Narrow(field.key);
    const int raw = doc.ReadInt(kSetting, field.key, field.defaultValue);
    const int read = field.get(*record);
    const int used = field.get(*repaired);
    if (raw != read)
      Repair("Setting " + key + "=" + std::to_string(raw) +
             " does not fit its one-byte field "
             "and is read as " +
             std::to_string(read) + ".");
    if (read != used)
      Repair("Setting " + key + "=" + std::to_string(read) + " is outside " + field.range +
             ": it is used as " + std::to_string(used) + ".");
  }
  if (repaired->profile >= kSlotCount)
    Repair("Setting Profile=" + std::to_string(repaired->profile) +
           " names no mode slot: the service keeps its slot, the pages use slot 0.");
  if (listNumber < 4)
    Repair("MyXlistNumber TotalListNumber is " +
           (listNumber == -1 ? std::string("missing") : std::to_string(listNumber)) +
           ": it is written as 4.");
  for (int s : created)
    Repair("Mode_" + std::to_string(s + 1) + " is missing: slot " + std::to_string(s) +
           " gets \"Profile " + std::to_string(s + 1) + "\" written as list entry " +
           std::to_string(s) + ", and that profile's file is created.");

  for (int s = 0; s < kSlotCount; ++s) {
    const std::u16string name(FixedText(repaired->slots[s].profileName));
    if (const auto problem = ProfileNameProblem(name)) {
      Repair("slot " + std::to_string(s) + "'s profile name \"" + Narrow(name) +
             "\" cannot be a file name (" + *problem +
             "); its profile is not read and keeps "
             "its reset values.");
      continue;
    }
    CheckProfile(ProfilePath(dataFolder, name), s, name);
  }
}

void RepairReport::CheckProfile(const std::string& path, int slot,
                                const std::optional<std::u16string>& expectedName) {
  m_out << "Checking " << path << " (mode slot " << slot << ")\n";
  if (!Exists(path)) {
    Repair(
        "the file is missing: loading creates it holding only CurrentProfileName; the "
        "profile keeps its reset values.");
    return;
  }
  const IniDocument doc = IniFile(path).Load();
  if (doc.Encoding() != IniEncoding::kUtf16Le)
    Note("the file does not start with the UTF-16 byte-order mark; it is read as it is.");
  const auto storedName = doc.FindValue(kGroup, u"CurrentProfileName");
  if (expectedName && (!storedName || *storedName != *expectedName))
    Repair("CurrentProfileName is " +
           (storedName ? "\"" + Narrow(*storedName) + "\"" : std::string("missing")) +
           ": loading writes \"" + Narrow(*expectedName) + "\".");

  std::set<std::u16string> known = {u"currentprofilename", u"repotrate"};
  for (int i = 0; i < kLinkExeCount; ++i) {
    const std::u16string key = u"LinkExe" + DecimalText(i);
    known.insert(Folded(key));
    const std::u16string value = doc.ReadString(kGroup, key, u"");
    if (value.size() >= static_cast<std::size_t>(kPathUnits))
      Repair(Narrow(key) + " is " + std::to_string(value.size()) +
             " characters long: it is cut "
             "to " +
             std::to_string(kPathUnits - 1) + ".");
  }
  for (const RecordKey& record : RecordKeys()) {
    known.insert(Folded(record.key));
    const auto value = doc.FindValue(kGroup, record.key);
    std::vector<unsigned char> scratch(record.size);
    if (value && !doc.ReadStruct(kGroup, record.key, scratch.data(), record.size))
      Repair(Narrow(record.key) + " " + StructProblem(*value, record.size) +
             ": it is ignored and " + record.part + " keeps its reset value.");
  }

  auto read = [&](bool pages) {
    auto block = std::make_unique<ProfileBlock>();
    if (pages)
      ResetProfileForSlot(*block, slot);
    else
      ResetProfile(*block);
    ReadProfileDocument(doc, *block);
    return block;
  };
  const auto serviceRead = read(false);
  const auto pagesRead = read(true);
  auto serviceUsed = std::make_unique<ProfileBlock>(*serviceRead);
  auto pagesUsed = std::make_unique<ProfileBlock>(*pagesRead);
  RepairProfile(*serviceUsed, slot, LightDefaultsFrom::Service);
  RepairProfile(*pagesUsed, slot, LightDefaultsFrom::SlotRow);
  auto stored = [&](const char16_t* key) {
    if (std::u16string_view(key) == kRepotRateKey) return doc.FindValue(kGroup, key).has_value();
    std::vector<unsigned char> scratch(
        std::u16string_view(key) == u"LIGHT_INFO" ? sizeof(LightInfo) : sizeof(PerformanceInfo));
    return doc.ReadStruct(kGroup, key, scratch.data(), scratch.size());
  };
  for (const ProfileField& field : ProfileFields()) {
    // Reset values of missing or damaged records are defaults, not repairs.
    if (!stored(field.key)) continue;
    const uint32_t before = field.get(*serviceRead);
    const uint32_t service = field.get(*serviceUsed);
    const uint32_t pages = field.get(*pagesUsed);
    if (before == service && field.get(*pagesRead) == pages) continue;
    std::string text = std::string(field.what) + " " + ValueText(before, field.isColor) +
                       " is out "
                       "of range: ";
    text += service == pages ? "it is used as " + ValueText(service, field.isColor)
                             : "the service uses " + ValueText(service, field.isColor) +
                                   ", the pages " + ValueText(pages, field.isColor);
    Repair(text + ".");
  }
  if (stored(u"LIGHT_INFO") &&
      std::memcmp(serviceRead->lightInfo.spectrumName, serviceUsed->lightInfo.spectrumName,
                  sizeof serviceRead->lightInfo.spectrumName) != 0)
    Repair("LIGHT_INFO spectrum name has no terminator: it is cut to 50 characters.");

  for (const std::u16string& key : doc.KeyNames(kGroup)) {
    if (!known.contains(Folded(key))) Note("unknown key " + Narrow(key) + " is kept but not read.");
  }
}
