#include <gtest/gtest.h>

#include <cstring>

#include "model/EffectTable.h"
#include "model/LightDefaults.h"
#include "model/LightInfoRules.h"

namespace {

LightInfo StoredRecord() {
  LightInfo light{};
  light.effect = 3;
  light.colorMode = 0;
  light.brightness = 2;
  light.speed = 1;
  light.color = 0x123456;
  light.colorOption = 5;
  SetSpectrumName(light, u"Aurora");
  return light;
}

TEST(Lighting, EffectTable) {
  struct Case {
    int effect;
    uint8_t deviceCode;
    int colorChoices;
    bool hasSpeed;
    std::u16string_view buttonKey;
  };
  const Case cases[] = {
      {0, 1, 7, true, u"BUTTON_STANDRAD"},
      {2, 3, 1, true, u"BUTTON_RIPPLE"},
      {3, 8, 1, true, u"BUTTON_FIREWORK"},
      {4, 9, 1, true, u"BUTTON_RADIATION"},
      {7, 12, 7, true, u"BUTTON_SPECTRUM"},
      {8, 13, 7, true, u"BUTTON_RECL1"},
      {9, 15, 7, true, u"BUTTON_RECL2"},
      {10, 16, 8, false, u"BUTTON_Zhan_Fang"},
      {11, 18, 1, true, u"BUTTON_Game_Mode"},
      // Values the load check lets through have no row and act as the standard effect.
      {12, 1, 7, true, u"BUTTON_STANDRAD"},
      {14, 1, 7, true, u"BUTTON_STANDRAD"},
      {255, 1, 7, true, u"BUTTON_STANDRAD"},
      {-1, 1, 7, true, u"BUTTON_STANDRAD"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DeviceEffectCode(c.effect), c.deviceCode) << c.effect;
    EXPECT_EQ(EffectColorChoices(c.effect), c.colorChoices) << c.effect;
    EXPECT_EQ(EffectHasSpeed(c.effect), c.hasSpeed) << c.effect;
    EXPECT_EQ(EffectInfoOf(c.effect).buttonKey, c.buttonKey) << c.effect;
  }
}

TEST(Lighting, DefaultAndPresetColors) {
  const uint32_t defaults[] = {0xFF8080, 0x0000FF, 0x00FF00, 0xFF0000, 0xFFFF00, 0x00FFFF};
  const uint8_t modes[] = {1, 1, 0, 1, 1, 1};
  for (int slot = 0; slot < 6; ++slot) {
    EXPECT_EQ(DefaultColor(slot), defaults[slot]) << slot;
    EXPECT_EQ(DefaultColorMode(slot), modes[slot]) << slot;
    EXPECT_EQ(DefaultEffect(slot), 0) << slot;
  }
  EXPECT_EQ(DefaultColor(6), DefaultColor(0));
  EXPECT_EQ(DefaultColor(-1), DefaultColor(0));
  EXPECT_EQ(PresetColor(1), 0x0000FFu);
  EXPECT_EQ(PresetColor(6), 0x892A17u);
  EXPECT_EQ(PresetColor(9), 0xFFFFFFu);
  EXPECT_EQ(PresetColor(0), 0u);
  EXPECT_EQ(PresetColor(10), 0u);
}

TEST(Lighting, ResetFillsTheSlotsDefaults) {
  LightInfo light = StoredRecord();
  ResetLightInfo(light, 2);
  EXPECT_EQ(light.effect, 0);
  EXPECT_EQ(light.colorMode, 0);
  EXPECT_EQ(light.brightness, 4);
  EXPECT_EQ(light.speed, 4);
  EXPECT_EQ(light.color, 0u);
  EXPECT_EQ(light.colorOption, 0);
  EXPECT_EQ(SpectrumName(light), u"");

  ResetLightInfo(light, 2, LightDefaultsFrom::Service);
  EXPECT_EQ(light.colorMode, 1);

  // A profile without a stored block loads as the reset record, then repaired.
  ResetLightInfo(light, 3);
  RepairLightInfo(light, 3);
  EXPECT_EQ(light.color, 0xFF0000u);
  EXPECT_EQ(light.colorMode, 1);
}

TEST(Lighting, RepairMendsEachFieldAlone) {
  struct Case {
    const char* what;
    void (*damage)(LightInfo&);
    void (*expect)(LightInfo&);  // applied to a clean record to give the expected one
    int slot;
    LightDefaultsFrom from;
  };
  using F = LightDefaultsFrom;
  const Case cases[] = {
      {"effect 15", [](LightInfo& l) { l.effect = 15; }, [](LightInfo& l) { l.effect = 0; }, 1,
       F::SlotRow},
      {"effect 14 stays", [](LightInfo& l) { l.effect = 14; }, [](LightInfo& l) { l.effect = 14; },
       1, F::SlotRow},
      {"colour mode 2, page, slot 2", [](LightInfo& l) { l.colorMode = 2; },
       [](LightInfo& l) { l.colorMode = 0; }, 2, F::SlotRow},
      {"colour mode 2, page, slot 1", [](LightInfo& l) { l.colorMode = 2; },
       [](LightInfo& l) { l.colorMode = 1; }, 1, F::SlotRow},
      {"colour mode 2, service, slot 2", [](LightInfo& l) { l.colorMode = 2; },
       [](LightInfo& l) { l.colorMode = 1; }, 2, F::Service},
      {"brightness 9", [](LightInfo& l) { l.brightness = 9; },
       [](LightInfo& l) { l.brightness = 4; }, 0, F::SlotRow},
      {"brightness 0 stays", [](LightInfo& l) { l.brightness = 0; },
       [](LightInfo& l) { l.brightness = 0; }, 0, F::SlotRow},
      {"speed 5", [](LightInfo& l) { l.speed = 5; }, [](LightInfo& l) { l.speed = 4; }, 0,
       F::SlotRow},
      {"colour option 8", [](LightInfo& l) { l.colorOption = 8; },
       [](LightInfo& l) { l.colorOption = 0; }, 0, F::SlotRow},
      {"colour option 7 stays", [](LightInfo& l) { l.colorOption = 7; },
       [](LightInfo& l) { l.colorOption = 7; }, 0, F::SlotRow},
      {"black colour", [](LightInfo& l) { l.color = 0; }, [](LightInfo& l) { l.color = 0x00FF00; },
       2, F::SlotRow},
      {"colour beyond 24 bits", [](LightInfo& l) { l.color = 0x01000000; },
       [](LightInfo& l) { l.color = 0x0000FF; }, 1, F::Service},
      {"white stays", [](LightInfo& l) { l.color = 0xFFFFFF; },
       [](LightInfo& l) { l.color = 0xFFFFFF; }, 1, F::SlotRow},
      {"unterminated spectrum name",
       [](LightInfo& l) {
         for (char16_t& c : l.spectrumName) c = u's';
       },
       [](LightInfo& l) { SetSpectrumName(l, std::u16string(50, u's')); }, 0, F::SlotRow},
  };
  for (const Case& c : cases) {
    LightInfo repaired = StoredRecord();
    c.damage(repaired);
    RepairLightInfo(repaired, c.slot, c.from);
    LightInfo expected = StoredRecord();
    c.expect(expected);
    EXPECT_EQ(std::memcmp(&repaired, &expected, sizeof(LightInfo)), 0) << c.what;
  }
}

TEST(Lighting, StartUpCheckLeavesTheColour) {
  LightInfo light = StoredRecord();
  light.color = 0;
  light.brightness = 7;
  RepairLightSettings(light, 0);
  EXPECT_EQ(light.color, 0u);
  EXPECT_EQ(light.brightness, 4);
}

TEST(Lighting, ResetButtons) {
  LightInfo light = StoredRecord();
  ResetLighting(light, 1);
  EXPECT_EQ(light.effect, 0);
  EXPECT_EQ(light.brightness, 4);
  EXPECT_EQ(light.speed, 2);
  EXPECT_EQ(light.colorOption, 0);
  EXPECT_EQ(light.colorMode, 0);      // unchanged
  EXPECT_EQ(light.color, 0x123456u);  // unchanged

  ResetLightColor(light, 1);
  EXPECT_EQ(light.color, 0x0000FFu);
  EXPECT_EQ(light.speed, 2);
}

TEST(Lighting, SpectrumNameIsCutToTheRecord) {
  LightInfo light{};
  std::memset(&light, 0xEE, sizeof light);
  const std::u16string longName(80, u'n');
  SetSpectrumName(light, longName);
  EXPECT_EQ(SpectrumName(light), std::u16string(50, u'n'));
  EXPECT_EQ(light.spectrumName[50], u'\0');
  EXPECT_EQ(light.colorOption, 0xEE);  // neighbours untouched
}

}  // namespace
