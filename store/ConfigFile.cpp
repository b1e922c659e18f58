#include "store/ConfigFile.h"

#include <cstring>
#include <vector>

#include "model/FixedText.h"
#include "model/LightInfoRules.h"
#include "store/DecimalText.h"
#include "store/IniFile.h"
#include "store/ProfileFile.h"

namespace {

constexpr std::u16string_view kSetting = u"Setting";
constexpr std::u16string_view kListNumber = u"MyXlistNumber";
constexpr std::u16string_view kTotalListNumber = u"TotalListNumber";
constexpr std::u16string_view kProfileData = u"ProfileData";
constexpr int kMinimumListNumber = 4;

constexpr uint8_t kDefaultPollingRate = 3;
constexpr uint8_t kDefaultSleep = 4;
constexpr int32_t kDefaultOnOff = 1;

std::u16string ModeSection(int slot) { return u"Mode_" + DecimalText(slot + 1); }
std::u16string EntrySection(int position) { return u"MyXlistIconInfo" + DecimalText(position); }

// Values are kept in fields narrower than the int they are read as; they are
// cut to the field's width as they are stored.
void ReadSettings(const IniDocument& doc, ConfigRecord& record) {
  auto read = [&](std::u16string_view key, int fallback) {
    return doc.ReadInt(kSetting, key, fallback);
  };
  record.plug = static_cast<uint8_t>(read(u"Plug", 0));
  record.profile = static_cast<uint8_t>(read(u"Profile", 0));
  record.keyMode = static_cast<uint8_t>(read(u"KeyMode", 0));
  record.pollingRate = static_cast<uint8_t>(read(u"PollingRate", kDefaultPollingRate));
  record.language = static_cast<uint8_t>(read(u"Language", 0));
  record.osdColor = static_cast<uint8_t>(read(u"OSD_Color", 0));
  record.osdProfile = read(u"OSD_Profile", kDefaultOnOff);
  record.osdEffect = read(u"OSD_Effect", kDefaultOnOff);
  record.autorun = read(u"UI_Autorun", kDefaultOnOff);
  record.syncMode = static_cast<uint8_t>(read(u"SyncMode", 0));
  record.sleep = static_cast<uint8_t>(read(u"Sleep", kDefaultSleep));
}

// Reads the four slots; a slot without its mode record gets its current entry
// written as list position `slot` and is listed in `created`.
void ReadSlots(IniDocument& doc, ConfigRecord& record, std::vector<int>& created) {
  if (doc.ReadInt(kListNumber, kTotalListNumber, -1) < kMinimumListNumber)
    doc.WriteInt(kListNumber, kTotalListNumber, kMinimumListNumber);
  for (int s = 0; s < kSlotCount; ++s) {
    tagPROFILE_ICONINFO& slot = record.slots[s];
    const int position = doc.ReadInt(ModeSection(s), kProfileData, -1);
    if (position == -1) {
      const std::u16string entry = EntrySection(s);
      doc.WriteInt(ModeSection(s), kProfileData, s);
      doc.WriteInt(entry, u"ProfileID", s);
      doc.WriteString(entry, u"ProfileName", FixedText(slot.profileName));
      doc.WriteString(entry, u"ProfileIconName", FixedText(slot.profileIconName));
      doc.WriteInt(entry, u"ProfileColor", static_cast<int>(slot.profileColor));
      created.push_back(s);
      continue;
    }
    const std::u16string entry = EntrySection(position);
    std::memset(&slot, 0, sizeof slot);
    slot.profileId = position;
    SetFixedText(slot.profileName, doc.ReadString(entry, u"ProfileName", u""));
    SetFixedText(slot.profileIconName, doc.ReadString(entry, u"ProfileIconName", u""));
    slot.profileColor = static_cast<uint32_t>(doc.ReadInt(entry, u"ProfileColor", 0));
  }
}

StoreResult WriteFailure(const IniFile& file) {
  return {StoreStatus::kWriteFailed, "The configuration file \"" + file.Path() +
                                         "\" could not be written: " + file.LastError()};
}

}  // namespace

std::string ConfigPath(const std::string& dataFolder) { return dataFolder + "config.ini"; }

tagPROFILE_ICONINFO DefaultSlotEntry(int slot) {
  tagPROFILE_ICONINFO entry{};
  entry.profileId = slot;
  SetFixedText(entry.profileName, u"Profile " + DecimalText(slot + 1));
  entry.profileColor = kDefaultProfileColor;
  return entry;
}

void ResetConfig(ConfigRecord& record) {
  std::memset(&record, 0, sizeof record);
  for (int s = 0; s < kSlotCount; ++s) record.slots[s] = DefaultSlotEntry(s);
  record.language = kFirstLanguage;
  record.osdProfile = kDefaultOnOff;
  record.osdEffect = kDefaultOnOff;
  record.autorun = kDefaultOnOff;
  record.pollingRate = kDefaultPollingRate;
  record.sleep = kDefaultSleep;
  ResetProfile(record.current);
}

StoreResult LoadConfig(ConfigRecord& record, const std::string& dataFolder) {
  IniFile file(ConfigPath(dataFolder));
  std::vector<int> created;
  bool read = false;
  // Later slots read what earlier slots wrote, so reads and writes share one
  // document, committed in one rewrite.
  auto readAll = [&](IniDocument& doc) {
    read = true;
    ReadConfigDocument(doc, record, created);
    return true;
  };
  StoreResult result;
  if (!file.Update(readAll)) {
    result = WriteFailure(file);
    if (!read) {
      IniDocument doc = file.Load();
      readAll(doc);
    }
  }
  for (int s : created) {
    const StoreResult profile =
        WriteProfileName(dataFolder, FixedText(record.slots[s].profileName));
    if (!profile && result) result = profile;
  }
  return result;
}

void ReadConfigDocument(IniDocument& doc, ConfigRecord& record, std::vector<int>& created) {
  created.clear();
  ReadSettings(doc, record);
  ReadSlots(doc, record, created);
}

void RepairConfig(ConfigRecord& record) {
  if (record.keyMode > 1) record.keyMode = 0;
  if (record.pollingRate > 3) record.pollingRate = kDefaultPollingRate;
  if (record.language < kFirstLanguage || record.language > kLastLanguage)
    record.language = kFirstLanguage;
  if (record.osdColor > 2) record.osdColor = 0;
  if (record.osdProfile != 0 && record.osdProfile != 1) record.osdProfile = kDefaultOnOff;
  if (record.osdEffect != 0 && record.osdEffect != 1) record.osdEffect = kDefaultOnOff;
  if (record.autorun != 0 && record.autorun != 1) record.autorun = kDefaultOnOff;
  if (record.syncMode > 1) record.syncMode = 0;
  if (record.sleep > 4) record.sleep = kDefaultSleep;
  const int slot = record.profile < kSlotCount ? record.profile : 0;
  RepairLightSettings(record.current.lightInfo, slot, LightDefaultsFrom::SlotRow);
}

StoreResult SaveConfig(const ConfigRecord& record, const std::string& dataFolder) {
  IniFile file(ConfigPath(dataFolder));
  const bool written = file.Update([&](IniDocument& doc) {
    doc.WriteInt(kSetting, u"Profile", record.profile);
    doc.WriteInt(kSetting, u"KeyMode", record.keyMode);
    doc.WriteInt(kSetting, u"PollingRate", record.pollingRate);
    doc.WriteInt(kSetting, u"Language", record.language);
    doc.WriteInt(kSetting, u"OSD_Color", record.osdColor);
    doc.WriteInt(kSetting, u"OSD_Profile", record.osdProfile);
    doc.WriteInt(kSetting, u"OSD_Effect", record.osdEffect);
    doc.WriteInt(kSetting, u"UI_Autorun", record.autorun);
    doc.WriteInt(kSetting, u"SyncMode", record.syncMode);
    doc.WriteInt(kSetting, u"Sleep", record.sleep);
    return true;
  });
  return written ? StoreResult::Ok() : WriteFailure(file);
}

StoreResult WritePlug(const std::string& dataFolder, int plug) {
  IniFile file(ConfigPath(dataFolder));
  return file.WriteInt(kSetting, u"Plug", plug) ? StoreResult::Ok() : WriteFailure(file);
}

StoreResult WriteFirmwareVersion(const std::string& dataFolder, std::u16string_view version) {
  IniFile file(ConfigPath(dataFolder));
  return file.WriteString(kSetting, u"FWVersion", version) ? StoreResult::Ok() : WriteFailure(file);
}
