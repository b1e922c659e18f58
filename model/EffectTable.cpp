#include "model/EffectTable.h"

#include <array>

namespace {

constexpr std::array<EffectInfo, kEffectCount> kEffects = {{
    {u"BUTTON_STANDRAD", u"LIGHT_STANDRAD", 1, 7, true},
    {u"BUTTON_TRIGGER", u"LIGHT_TRIGGER", 2, 7, true},
    {u"BUTTON_RIPPLE", u"LIGHT_RIPPLE", 3, 1, true},
    {u"BUTTON_FIREWORK", u"LIGHT_FIREWORK", 8, 1, true},
    {u"BUTTON_RADIATION", u"LIGHT_RADIATION", 9, 1, true},
    {u"BUTTON_BREATHING", u"LIGHT_BREATHING", 10, 7, true},
    {u"BUTTON_WAVE", u"LIGHT_WAVE", 11, 7, true},
    {u"BUTTON_SPECTRUM", u"LIGHT_SPECTRUM", 12, 7, true},
    {u"BUTTON_RECL1", u"LIGHT_RECL1", 13, 7, true},
    {u"BUTTON_RECL2", u"LIGHT_RECL2", 15, 7, true},
    {u"BUTTON_Zhan_Fang", u"LIGHT_Zhan_Fang", 16, 8, false},
    {u"BUTTON_Game_Mode", u"LIGHT_Game_Mode", 18, 1, true},
}};

}  // namespace

std::span<const EffectInfo, kEffectCount> EffectTable() { return kEffects; }

const EffectInfo& EffectInfoOf(int effect) {
  return effect >= 0 && effect < kEffectCount ? kEffects[effect] : kEffects[0];
}

uint8_t DeviceEffectCode(int effect) { return EffectInfoOf(effect).deviceCode; }

int EffectColorChoices(int effect) { return EffectInfoOf(effect).colorChoices; }

bool EffectHasSpeed(int effect) { return EffectInfoOf(effect).hasSpeed; }
