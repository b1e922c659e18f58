#include "SampleProfile.h"

#include <string>

#include "model/FixedText.h"
#include "model/FunctionCodes.h"
#include "store/ProfileFile.h"

namespace {

void FillKey(ButtonInfo& key, int seed) {
  key.kind = kKindAssigned;
  key.code = seed % 2 == 0 ? kCodeMacro : kCodeLaunchProgram;
  const std::string digits = std::to_string(seed);
  const std::u16string number(digits.begin(), digits.end());
  SetFixedText(key.programPath, u"/usr/bin/tool-" + number);
  SetFixedText(key.iconPath, u"/icons/\u00E9t\u00E9-" + number + u".png");
  SetFixedText(key.macroName, u"Macro " + number);
  key.repeat = static_cast<uint16_t>(seed * 7);
  key.eventCount = kMaxEvents;
  for (int e = 0; e < kMaxEvents; ++e) {
    key.events[e].flagsAndHigh = static_cast<uint8_t>(0x80 | (e & 0x7F));
    key.events[e].valueLow = static_cast<uint8_t>(seed + e);
    key.events[e].eventCode = static_cast<uint8_t>(4 + (seed + e) % 100);
  }
}

}  // namespace

std::unique_ptr<ProfileBlock> MakeSampleProfile() {
  auto block = std::make_unique<ProfileBlock>();
  ResetProfile(*block);
  for (int i = 0; i < kLinkExeCount; ++i)
    SetFixedText(block->linkExe[i], u"/opt/games/game" + std::u16string(1, u'0' + i) + u"/run");
  for (int i = 0; i < kButtonInfoCount; ++i) FillKey(block->buttonInfo[i], i);
  for (int i = 0; i < kButtonInfoCount; ++i) FillKey(block->fnButtonInfo[i], 200 + i);
  for (int i = 0; i < kGButtonInfoCount; ++i) FillKey(block->gButtonInfo[i], 400 + i);
  block->lightInfo.effect = 5;
  block->lightInfo.colorMode = 0;
  block->lightInfo.brightness = 2;
  block->lightInfo.speed = 1;
  block->lightInfo.color = 0x123456;
  block->lightInfo.colorOption = 3;
  SetFixedText(block->lightInfo.spectrumName, u"Aurora");
  block->performanceInfo = {1, 2, 3, 0, 1};
  block->repotRate = 2;
  return block;
}
