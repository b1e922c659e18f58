#pragma once

#include <functional>

#include "devicelink/CUSBDriver.h"
#include "store/ProfileBlock.h"

// Uploads a profile's standard layer: the macro of every key that has one, then the key map.
// `setProgress` (may be empty) is told 90 between the two passes. The Fn layer and the G
// records stay on the computer.
void SendAllKeys(CUSBDriver& driver, const ProfileBlock& profile,
                 const std::function<void(int)>& setProgress);
