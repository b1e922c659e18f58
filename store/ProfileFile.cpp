#include "store/ProfileFile.h"

#include <cstring>

#include "model/FixedText.h"
#include "platform/Text.h"
#include "store/DecimalText.h"
#include "store/FolderContainment.h"
#include "store/IniFile.h"
#include "store/ProfileName.h"

namespace {

constexpr std::u16string_view kGroup = u"GROUP";
constexpr std::u16string_view kNameKey = u"CurrentProfileName";
constexpr std::u16string_view kRepotRateKey = u"RepotRate";
constexpr int32_t kResetRepotRate = 3;
constexpr PerformanceInfo kResetPerformance = {3, 0, 0, 1, 0};

// Calls visit(key, record address, record size) for every struct value of the
// profile, in the order the file is read and written.
template <typename Block, typename Visit>
void ForEachRecord(Block& block, Visit visit) {
  visit(std::u16string(u"LIGHT_INFO"), &block.lightInfo, sizeof block.lightInfo);
  visit(std::u16string(u"PERFORMANCE_INFO"), &block.performanceInfo, sizeof block.performanceInfo);
  for (int i = 0; i < kButtonInfoCount; ++i)
    visit(u"BUTTON_INFO_" + DecimalText(i), &block.buttonInfo[i], sizeof(ButtonInfo));
  for (int i = 0; i < kButtonInfoCount; ++i)
    visit(u"FNBUTTON_INFO_" + DecimalText(i), &block.fnButtonInfo[i], sizeof(ButtonInfo));
  for (int i = 0; i < kGButtonInfoCount; ++i)
    visit(u"G_BUTTON_INFO_" + DecimalText(i), &block.gButtonInfo[i], sizeof(ButtonInfo));
}

StoreResult CheckProfilePath(const std::string& dataFolder, std::u16string_view name,
                             const std::string& folder, std::string& path) {
  if (const auto problem = ProfileNameProblem(name)) return {StoreStatus::kBadName, *problem};
  path = ProfilePath(dataFolder, name, folder);
  if (folder.empty() && !LiesInsideFolder(dataFolder, path))
    return {StoreStatus::kOutsideFolder,
            "The profile file \"" + path + "\" leads out of the data folder."};
  return StoreResult::Ok();
}

StoreResult WriteFailure(const IniFile& file) {
  return {StoreStatus::kWriteFailed,
          "The profile file \"" + file.Path() + "\" could not be written: " + file.LastError()};
}

int ClampSlot(int slot) { return slot >= 0 && slot <= 3 ? slot : 0; }

void ResetExceptLighting(ProfileBlock& block) {
  std::memset(&block, 0, sizeof block);
  block.repotRate = kResetRepotRate;
  block.performanceInfo = kResetPerformance;
}

}  // namespace

std::string ProfilePath(const std::string& dataFolder, std::u16string_view name,
                        const std::string& folder) {
  std::string base = folder.empty() ? dataFolder + "Profiles/" : folder;
  if (!base.empty() && base.back() != '/') base += '/';
  return base + platform::Utf16ToUtf8(name) + ".ini";
}

void ResetProfile(ProfileBlock& block) {
  ResetExceptLighting(block);
  ResetLightInfo(block.lightInfo, 0, LightDefaultsFrom::Service);
}

void ResetProfileForSlot(ProfileBlock& block, int slot) {
  ResetExceptLighting(block);
  ResetLightInfo(block.lightInfo, ClampSlot(slot), LightDefaultsFrom::SlotRow);
}

StoreResult LoadProfile(ProfileBlock& block, const std::string& dataFolder,
                        std::u16string_view name, const std::string& folder) {
  std::string path;
  if (StoreResult checked = CheckProfilePath(dataFolder, name, folder, path); !checked)
    return checked;
  IniFile file(path);
  // The content just written is the content to read, so the file is read once.
  IniDocument doc;
  bool edited = false;
  StoreResult result;
  const bool written = file.Update(
      [&](IniDocument& current) {
        edited = true;
        return current.WriteString(kGroup, kNameKey, name);
      },
      &doc);
  if (!written) result = WriteFailure(file);
  if (!edited) doc = file.Load();

  ReadProfileDocument(doc, block);
  return result;
}

void ReadProfileDocument(const IniDocument& doc, ProfileBlock& block) {
  for (int i = 0; i < kLinkExeCount; ++i)
    SetFixedText(block.linkExe[i], doc.ReadString(kGroup, u"LinkExe" + DecimalText(i), u""));
  ForEachRecord(block, [&](const std::u16string& key, void* record, std::size_t size) {
    doc.ReadStruct(kGroup, key, record, size);
  });
  block.repotRate = doc.ReadInt(kGroup, kRepotRateKey, kResetRepotRate);
}

StoreResult WriteProfileName(const std::string& dataFolder, std::u16string_view name) {
  std::string path;
  if (StoreResult checked = CheckProfilePath(dataFolder, name, {}, path); !checked) return checked;
  IniFile file(path);
  return file.WriteString(kGroup, kNameKey, name) ? StoreResult::Ok() : WriteFailure(file);
}

StoreResult SaveProfile(const ProfileBlock& block, const std::string& dataFolder,
                        std::u16string_view name, const std::string& folder) {
  std::string path;
  if (StoreResult checked = CheckProfilePath(dataFolder, name, folder, path); !checked)
    return checked;
  IniFile file(path);
  std::string refused;
  const bool written = file.Update([&](IniDocument& doc) {
    auto note = [&](std::u16string_view key, bool stored) {
      if (!stored) refused += (refused.empty() ? "" : ", ") + platform::Utf16ToUtf8(key);
    };
    note(kNameKey, doc.WriteString(kGroup, kNameKey, name));
    for (int i = 0; i < kLinkExeCount; ++i) {
      const std::u16string key = u"LinkExe" + DecimalText(i);
      note(key, doc.WriteString(kGroup, key, FixedText(block.linkExe[i])));
    }
    ForEachRecord(block, [&](const std::u16string& key, const void* record, std::size_t size) {
      note(key, doc.WriteStruct(kGroup, key, record, size));
    });
    note(kRepotRateKey, doc.WriteInt(kGroup, kRepotRateKey, block.repotRate));
    return true;
  });
  if (!written) return WriteFailure(file);
  if (!refused.empty())
    return {StoreStatus::kWriteFailed,
            "These values cannot be stored on one line and were left as they were: " + refused};
  return StoreResult::Ok();
}

void RepairProfile(ProfileBlock& block, int slot, LightDefaultsFrom from) {
  if (block.repotRate < 0 || block.repotRate > 3) block.repotRate = kResetRepotRate;
  PerformanceInfo& performance = block.performanceInfo;
  if (performance.repeatDelay > 3) performance.repeatDelay = 3;
  if (performance.option1 > 3) performance.option1 = 0;
  if (performance.option2 > 4) performance.option2 = 0;
  if (performance.option3 > 3) performance.option3 = 1;
  if (performance.option4 > 3) performance.option4 = 0;
  RepairLightInfo(block.lightInfo, ClampSlot(slot), from);
}
