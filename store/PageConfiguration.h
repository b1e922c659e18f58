#pragma once

#include <cstdint>
#include <string>

#include "store/ConfigRecord.h"
#include "store/StoreResult.h"

// The settings pages' way of loading the configuration and switching profiles,
// kept here so that both deliverables share one tested implementation.

// The pages' built-in colour of the profile list entry of mode slot `slot`: the
// slot's default lighting colour. Entries the pages create for a slot without
// its mode record, and the entry of a profile being left, take this colour.
uint32_t PageProfileColor(int slot);

// Clears the record, gives the four slots their default entries (coloured from
// the pages' built-in table), reads config.ini (with its first-run writes),
// repairs the settings and reads the current slot's profile file over the
// cleared profile. A stored Profile outside 0..3 becomes 0, so the current slot
// always exists.
StoreResult LoadPageConfiguration(ConfigRecord& record, const std::string& dataFolder);

// Makes `slot` current: Profile = slot, the profile reset to the slot's
// defaults, its file read over them and the result repaired with the slot's
// defaults. A slot outside 0..3 is refused and nothing changes.
StoreResult SelectPageProfile(ConfigRecord& record, int slot, const std::string& dataFolder);
