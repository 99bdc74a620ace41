#include "embedded/embedded_units.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "frontend/unit_names.h"
#include "synth/unit_inventory.h"
#include "synth/voice_data.h"

namespace orvanel::embedded {
namespace {

TEST(EmbeddedUnits, EveryUnitFileIsBuiltInByteForByte) {
  namespace fs = std::filesystem;
  std::size_t files = 0;
  EmbeddedUnitStore store;
  for (const auto& entry : fs::directory_iterator(ORVANEL_UNITS_DIR)) {
    const std::string name = entry.path().filename().string();
    if (name.find('.') != std::string::npos) continue;  // README and the like
    ++files;
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    const auto found = store.Find("WAVE", name);
    ASSERT_EQ(found.size(), bytes.size()) << name;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(found.data()), found.size()), bytes);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(found.data()) % 2, 0u) << name;
  }
  EXPECT_EQ(files, 56u);
  EXPECT_EQ(EmbeddedUnitStore::All().size(), 56u);
}

TEST(EmbeddedUnits, LookupIsByTypeAndExactName) {
  EmbeddedUnitStore store;
  EXPECT_FALSE(store.Find("WAVE", "A_1").empty());
  EXPECT_TRUE(store.Find("ICON", "A_1").empty());
  EXPECT_TRUE(store.Find("WAVE", "a_1").empty());
  EXPECT_TRUE(store.Find("WAVE", "A_").empty());
  EXPECT_TRUE(store.Find("WAVE", "").empty());
  EXPECT_TRUE(store.Find("WAVE", "ZZZ").empty());
}

TEST(EmbeddedUnits, TheWholeInventoryLoads) {
  EmbeddedUnitStore store;
  synth::UnitInventory inv;
  std::string error;
  ASSERT_EQ(synth::LoadUnits(store, inv, error), 1) << error;
  for (const auto& e : inv.vowels) EXPECT_EQ(e.sizeBytes, 388);
  EXPECT_EQ(inv.back[0].sizeBytes, 1572);   // B_PRE
  EXPECT_EQ(inv.front[7].sizeBytes, 6114);  // DIE_POST
}

TEST(EmbeddedUnits, EveryUnitHasItsVoiceDataUnderTheSameName) {
  EmbeddedUnitStore store;
  ASSERT_EQ(EmbeddedUnitStore::AllVoice().size(), EmbeddedUnitStore::All().size());
  for (std::size_t k = 0; k < EmbeddedUnitStore::All().size(); ++k) {
    const std::string_view name = EmbeddedUnitStore::All()[k].name;
    EXPECT_EQ(name, EmbeddedUnitStore::AllVoice()[k].name);
    EXPECT_FALSE(store.Find("VOICE", name).empty()) << name;
  }
  EXPECT_TRUE(store.Find("VOICE", "a_1").empty());
  EXPECT_TRUE(store.Find("VOICE", "").empty());
  synth::VoiceData data;
  std::string error;
  EXPECT_EQ(synth::LoadVoiceData(store, data, error), 1) << error;
}

}  // namespace
}  // namespace orvanel::embedded
