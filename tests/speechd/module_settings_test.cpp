#include "speechd/module_settings.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "speechd/module_config.h"

namespace orvanel::speechd {
namespace {

struct ControlCase {
  int rate, pitch, volume;
  double ratePercent, semitones;
  unsigned volumePercent;
};

TEST(VoiceControls, MapTheServersScales) {
  const ControlCase cases[] = {
      {0, 0, 100, 100, 0, 144},    {-100, -100, -100, 50, -6, 0}, {100, 100, 0, 400, 6, 72},
      {50, 50, 50, 183.4, 3, 108}, {-50, -50, -50, 64.8, -3, 36}, {500, -500, 1000, 400, -6, 144},
  };
  for (const auto& c : cases) {
    const VoiceControls v = MapVoiceControls(c.rate, c.pitch, c.volume);
    EXPECT_NEAR(v.ratePercent, c.ratePercent, 0.1) << c.rate;
    EXPECT_DOUBLE_EQ(v.semitones, c.semitones) << c.pitch;
    EXPECT_EQ(v.volumePercent, c.volumePercent) << c.volume;
  }
}

TEST(VoiceControls, RateRisesSmoothlyAcrossTheWholeScale) {
  double last = 0, lastStep = 0;
  for (int r = -100; r <= 100; ++r) {
    const double p = MapVoiceControls(r, 0, 0).ratePercent;
    EXPECT_GT(p, last) << r;
    if (r > -99) {
      // No kink: neighbouring steps differ by under 2.5 % (the curve from 50 % to 400 % bends
      // most at its ends, 2.3 %; a kink, as two straight pieces would make, is a jump of 100 %).
      EXPECT_NEAR((p - last) / lastStep, 1.0, 0.025) << r;
    }
    lastStep = p - last;
    last = p;
  }
}

TEST(VoiceControls, AreAppliedToTheVoice) {
  library::VoiceSettings voice;
  ApplyVoiceControls(MapVoiceControls(100, -100, 50), voice);
  EXPECT_EQ(voice.ratePercent.load(), 400);
  EXPECT_FLOAT_EQ(voice.semitones.load(), -6.f);
  EXPECT_EQ(voice.volume.load(), 108);
  // The designed speed and pitch stay as they are; the controls do the work.
  EXPECT_EQ(voice.speed.load(), library::kDefaultSpeed);
  EXPECT_EQ(voice.pitch.load(), library::kDefaultPitch);
  EXPECT_TRUE(voice.reading.load());
  ApplyVoiceControls(MapVoiceControls(-100, 50, 100), voice);
  EXPECT_EQ(voice.ratePercent.load(), 50);
  EXPECT_FLOAT_EQ(voice.semitones.load(), 3.f);
  ApplyVoiceControls(MapVoiceControls(0, 0, 100), voice);
  EXPECT_EQ(voice.ratePercent.load(), library::kDefaultRate);
  EXPECT_FLOAT_EQ(voice.semitones.load(), 0.f);
  EXPECT_EQ(voice.volume.load(), 144);
}

TEST(VoiceControls, VolumeIsInProportionToTheServersVolumePlusAHundred) {
  // As with the other voices: twice the loudness at +100 that 0 gives, half at -50.
  const double atZero = MapVoiceControls(0, 0, 0).volumePercent;
  for (int v = -100; v <= 100; ++v) {
    const unsigned percent = MapVoiceControls(0, 0, v).volumePercent;
    EXPECT_NEAR(percent, atZero * (v + 100) / 100, 0.5) << v;
    if (v > -100) {
      EXPECT_GE(percent, MapVoiceControls(0, 0, v - 1).volumePercent) << v;
    }
  }
  EXPECT_EQ(MapVoiceControls(0, 0, -100).volumePercent, 0u);
  EXPECT_EQ(2 * MapVoiceControls(0, 0, -50).volumePercent, MapVoiceControls(0, 0, 0).volumePercent);
}

struct SettingCase {
  const char* key;
  const char* value;
  bool taken;
};

TEST(ModuleSettings, TakesTheKeysItKnows) {
  const SettingCase cases[] = {
      {"rate", "-20", true},
      {"rate", "+30", true},
      {"rate", "abc", false},
      {"rate", "", false},
      {"rate", "12x", false},
      {"pitch", "7", true},
      {"volume", "-100", true},
      {"punctuation_mode", "all", true},
      {"punctuation_mode", "loud", false},
      {"spelling_mode", "on", true},
      {"cap_let_recogn", "spell", true},
      {"pitch_range", "10", false},
      {"voice", "male1", false},
      {"language", "tr", false},
      {"synthesis_voice", "x", false},
      {"whatever", "1", false},
  };
  for (const auto& c : cases) {
    ModuleSettings s;
    EXPECT_EQ(ApplySetting(c.key, c.value, s), c.taken) << c.key << "=" << c.value;
  }
}

TEST(ModuleSettings, StoresTheValues) {
  ModuleSettings s;
  ApplySetting("rate", "-20", s);
  ApplySetting("pitch", "999", s);
  ApplySetting("volume", "-1000", s);
  ApplySetting("punctuation_mode", "most", s);
  ApplySetting("spelling_mode", "on", s);
  ApplySetting("cap_let_recogn", "icon", s);
  EXPECT_EQ(s.rate, -20);
  EXPECT_EQ(s.pitch, 100);
  EXPECT_EQ(s.volume, -100);
  EXPECT_EQ(s.punctuation, PunctuationMode::kMost);
  EXPECT_TRUE(s.spelling);
  EXPECT_TRUE(s.capitals);
  ApplySetting("spelling_mode", "off", s);
  ApplySetting("cap_let_recogn", "none", s);
  ApplySetting("rate", "bad", s);
  EXPECT_FALSE(s.spelling);
  EXPECT_FALSE(s.capitals);
  EXPECT_EQ(s.rate, -20);
}

// The server's punctuation modes as the reading stage's levels: "none" says no prose punctuation.
TEST(ModuleSettings, PunctuationModesMapOntoTheReadingLevels) {
  EXPECT_EQ(PunctuationLevel(PunctuationMode::kNone), reading::Punctuation::kNone);
  EXPECT_EQ(PunctuationLevel(PunctuationMode::kSome), reading::Punctuation::kSome);
  EXPECT_EQ(PunctuationLevel(PunctuationMode::kMost), reading::Punctuation::kSome);
  EXPECT_EQ(PunctuationLevel(PunctuationMode::kAll), reading::Punctuation::kAll);
}

TEST(ModuleConfig, ReadsTheOptions) {
  EXPECT_TRUE(ParseModuleConfig("").readingStage);
  EXPECT_TRUE(ParseModuleConfig("").logFile.empty());
  const auto c = ParseModuleConfig(
      "# comment\n  OrvanelReadingStage 0\r\nOrvanelLogFile \"/tmp/a b.log\"\nOther 1\nbad\n");
  EXPECT_FALSE(c.readingStage);
  EXPECT_EQ(c.logFile, "/tmp/a b.log");
  EXPECT_TRUE(ParseModuleConfig("orvanelreadingstage off\nOrvanelReadingStage yes").readingStage);
  EXPECT_TRUE(ParseModuleConfig("OrvanelReadingStage maybe").readingStage);
  EXPECT_FALSE(ParseModuleConfig("#OrvanelReadingStage 1\nOrvanelReadingStage no").readingStage);
  // Prosody is on unless the file turns it off; the two switches are independent.
  EXPECT_TRUE(ParseModuleConfig("").prosody);
  EXPECT_TRUE(ParseModuleConfig("OrvanelReadingStage 0").prosody);
  EXPECT_FALSE(ParseModuleConfig("OrvanelProsody 0").prosody);
  EXPECT_TRUE(ParseModuleConfig("OrvanelProsody 0").readingStage);
  EXPECT_FALSE(ParseModuleConfig("orvanelprosody \"off\"").prosody);
  EXPECT_TRUE(ParseModuleConfig("OrvanelProsody 0\nOrvanelProsody on").prosody);
}

// The configuration file as shipped holds every default as it is without it.
TEST(ModuleConfig, TheShippedFileKeepsTheDefaults) {
  std::ifstream in(ORVANEL_MODULE_CONF);
  ASSERT_TRUE(in) << ORVANEL_MODULE_CONF;
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const ModuleConfig shipped = ParseModuleConfig(text);
  EXPECT_TRUE(shipped.readingStage);
  EXPECT_TRUE(shipped.prosody);
  EXPECT_TRUE(shipped.logFile.empty());
  EXPECT_NE(text.find("\nOrvanelProsody 1\n"), std::string::npos);
}

}  // namespace
}  // namespace orvanel::speechd
