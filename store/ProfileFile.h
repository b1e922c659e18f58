#pragma once

#include <string>
#include <string_view>

#include "model/LightInfoRules.h"
#include "store/IniDocument.h"
#include "store/ProfileBlock.h"
#include "store/StoreResult.h"

// Profile files: "<data folder>Profiles/<name>.ini", or "<folder><name>.ini"
// when a folder is given (import and export). Folders end with '/'. Everything
// lives in the one section GROUP. A name that cannot be a file name, or a file
// in the data folder that is a link leading out of it, is refused before
// anything is read or written.

std::string ProfilePath(const std::string& dataFolder, std::u16string_view name,
                        const std::string& folder = {});

// The service's reset: everything zero, RepotRate 3, PerformanceInfo {3, 0, 0, 1, 0},
// lighting effect 0, cycle mode, brightness 4, speed 4, colour 0.
void ResetProfile(ProfileBlock& block);

// The pages' reset for mode slot `slot`: as ResetProfile, with the slot's
// default effect and colour mode.
void ResetProfileForSlot(ProfileBlock& block, int slot);

// Writes the name into CurrentProfileName (creating a missing file), then reads
// every record over `block`, which the caller has reset: missing or damaged
// values leave their part of the block as it was. A failed name write is
// reported as kWriteFailed; the block is read all the same.
StoreResult LoadProfile(ProfileBlock& block, const std::string& dataFolder,
                        std::u16string_view name, const std::string& folder = {});

// Reads every record of a profile file's content over `block`, as LoadProfile
// does after its name write; for readers that must not write.
void ReadProfileDocument(const IniDocument& doc, ProfileBlock& block);

// Writes only CurrentProfileName, which creates a missing profile file.
StoreResult WriteProfileName(const std::string& dataFolder, std::u16string_view name);

// Writes every value of the block in one locked rewrite of the file; the file
// ends exactly as after the 237 writes one by one (name, LinkExe0..4, LIGHT_INFO,
// PERFORMANCE_INFO, BUTTON_INFO_*, FNBUTTON_INFO_*, G_BUTTON_INFO_*, RepotRate).
StoreResult SaveProfile(const ProfileBlock& block, const std::string& dataFolder,
                        std::u16string_view name, const std::string& folder = {});

// The repair after every load. `slot` picks the default colour (and, for the
// pages, the default effect and colour mode); slots outside 0..3 use slot 0.
void RepairProfile(ProfileBlock& block, int slot,
                   LightDefaultsFrom from = LightDefaultsFrom::Service);
