#pragma once

#include <optional>
#include <span>

#include "devicelink/KeyMacroBlock.h"
#include "devicelink/KeyMap.h"
#include "model/ButtonInfo.h"

// The macro the keyboard must store for a key, judged by its code alone: recorded macros,
// key combinations and the three shortcuts the keyboard plays for the host. nullopt for
// every other code.
std::optional<KeyMacroBlock> MacroBlockFor(const ButtonInfo& button);

// The key map of a standard layer: every key's own usage, replaced where its record assigns
// or disables a function.
KeyMap KeyMapFor(std::span<const ButtonInfo, kButtonInfoCount> standardLayer);
