#include "store/PageConfiguration.h"

#include <cstring>

#include "model/FixedText.h"
#include "model/LightDefaults.h"
#include "store/ConfigFile.h"
#include "store/ProfileFile.h"

uint32_t PageProfileColor(int slot) { return DefaultColor(slot); }

StoreResult LoadPageConfiguration(ConfigRecord& record, const std::string& dataFolder) {
  std::memset(&record, 0, sizeof record);
  for (int s = 0; s < kSlotCount; ++s) {
    record.slots[s] = DefaultSlotEntry(s);
    record.slots[s].profileColor = PageProfileColor(s);
  }
  StoreResult result = LoadConfig(record, dataFolder);
  RepairConfig(record);
  if (record.profile >= kSlotCount) record.profile = 0;
  const StoreResult profile =
      LoadProfile(record.current, dataFolder, FixedText(record.slots[record.profile].profileName));
  return result ? profile : result;
}

StoreResult SelectPageProfile(ConfigRecord& record, int slot, const std::string& dataFolder) {
  if (slot < 0 || slot >= kSlotCount)
    return {StoreStatus::kBadSlot, "There is no mode slot " + std::to_string(slot) + "."};
  record.profile = static_cast<uint8_t>(slot);
  ResetProfileForSlot(record.current, slot);
  const StoreResult result =
      LoadProfile(record.current, dataFolder, FixedText(record.slots[slot].profileName));
  RepairProfile(record.current, slot, LightDefaultsFrom::SlotRow);
  return result;
}
