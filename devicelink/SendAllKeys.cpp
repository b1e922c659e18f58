#include "devicelink/SendAllKeys.h"

#include "devicelink/ProfilePayloads.h"
#include "model/KeyMatrix.h"

namespace {
constexpr int kProgressBetweenPasses = 90;
}  // namespace

void SendAllKeys(CUSBDriver& driver, const ProfileBlock& profile,
                 const std::function<void(int)>& setProgress) {
  for (int i = 0; i < kButtonInfoCount; ++i) {
    // Indexes without a key would land on Esc's position.
    if (!IsKeyIndexUsed(i)) continue;
    if (const auto block = MacroBlockFor(profile.buttonInfo[i])) {
      driver.SendKeyMacro(*block, static_cast<std::uint8_t>(KeyPositionOf(i)));
    }
  }
  if (setProgress) setProgress(kProgressBetweenPasses);
  driver.SendKeyMap(KeyMapFor(profile.buttonInfo));
}
