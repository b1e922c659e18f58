#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "store/ConfigRecord.h"
#include "store/IniDocument.h"
#include "store/StoreResult.h"

// config.ini in the data folder (which ends with '/'): section Setting, the
// profile list count, the mode slots and the profile list entries.

constexpr uint32_t kDefaultProfileColor = 0x006DED;
// Language codes run from "e" (101) to "l" (108).
constexpr uint8_t kFirstLanguage = 101;
constexpr uint8_t kLastLanguage = 108;

std::string ConfigPath(const std::string& dataFolder);

// Everything zero; the four slots get their default entries ("Profile 1".. "Profile 4"),
// the settings their repair defaults and the current profile ResetProfile's values.
void ResetConfig(ConfigRecord& record);

// Reads Setting and the four slots. On a first run (or for any slot whose mode
// record is missing) it writes the list count, the slot's mode record and list
// entry, and creates the slot's profile file. Reading always completes; a
// failed write is reported as kWriteFailed.
StoreResult LoadConfig(ConfigRecord& record, const std::string& dataFolder);

// LoadConfig's reading and first-run writes on content in memory: `created`
// lists the slots whose mode record was missing and whose entry was written into
// `doc` (and whose profile file LoadConfig would create). For readers that must not write.
void ReadConfigDocument(IniDocument& doc, ConfigRecord& record, std::vector<int>& created);

// The range repairs of the Setting values (Profile is left for its users to
// check), and the range checks of the current profile's lighting, all but its colour.
void RepairConfig(ConfigRecord& record);

// Writes Profile, KeyMode, PollingRate, Language, OSD_Color, OSD_Profile,
// OSD_Effect, UI_Autorun, SyncMode and Sleep in one rewrite; never Plug or FWVersion.
StoreResult SaveConfig(const ConfigRecord& record, const std::string& dataFolder);

// The service's records of the keyboard: Setting / Plug and Setting / FWVersion.
StoreResult WritePlug(const std::string& dataFolder, int plug);
StoreResult WriteFirmwareVersion(const std::string& dataFolder, std::u16string_view version);

// The default profile list entry of slot `slot`.
tagPROFILE_ICONINFO DefaultSlotEntry(int slot);
