#pragma once

#include <memory>

#include "store/ProfileBlock.h"

// A profile with every record in use: all 228 keys assigned (macros with events,
// program paths), five linked programs and lighting, valid after repair.
std::unique_ptr<ProfileBlock> MakeSampleProfile();
