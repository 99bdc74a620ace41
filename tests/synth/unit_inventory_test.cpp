#include "synth/unit_inventory.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/support/fake_unit_store.h"

namespace orvanel::synth {
namespace {

// Records the order in which names are asked for.
class TracingStore final : public UnitStore {
 public:
  explicit TracingStore(const UnitStore& inner) : inner_(inner) {}
  std::span<const unsigned char> Find(std::string_view type, std::string_view name) const override {
    EXPECT_EQ(type, "WAVE");
    asked.emplace_back(name);
    return inner_.Find(type, name);
  }
  mutable std::vector<std::string> asked;

 private:
  const UnitStore& inner_;
};

std::string NameOf(const test::FakeUnitStore& store, UnitHandle h) {
  for (const auto& name : test::FakeUnitStore::AllNames()) {
    if (store.Find("WAVE", name).data() == h) return name;
  }
  return "?";
}

TEST(LoadUnits, FillsEveryEntryInTheFixedOrder) {
  test::FakeUnitStore store(100, 200);
  TracingStore tracing(store);
  UnitInventory inv;
  std::string error = "untouched";
  ASSERT_EQ(LoadUnits(tracing, inv, error), 1);
  EXPECT_EQ(error, "untouched");
  ASSERT_EQ(tracing.asked.size(), 104u);
  EXPECT_EQ(tracing.asked[0], "A_1");
  EXPECT_EQ(tracing.asked[7], "UE_1");
  EXPECT_EQ(tracing.asked[8], "B_PRE");
  EXPECT_EQ(tracing.asked[9], "B_POST");
  EXPECT_EQ(tracing.asked[10], "C");
  EXPECT_EQ(tracing.asked[11], "C");
  EXPECT_EQ(tracing.asked[55], "Z_POST");
  EXPECT_EQ(tracing.asked[56], "BE_PRE");
  EXPECT_EQ(tracing.asked[103], "Z_POST");
  for (const auto& e : inv.vowels) EXPECT_EQ(e.sizeBytes, 200);
  for (const auto* set : {&inv.back, &inv.front}) {
    for (const auto& e : *set) {
      EXPECT_NE(e.handle, nullptr);
      EXPECT_EQ(e.sizeBytes, 400);
      EXPECT_EQ(e.LengthSamples(), 200u);
    }
  }
}

TEST(LoadUnits, SharedNamesGiveTheSameUnit) {
  test::FakeUnitStore store;
  UnitInventory inv;
  std::string error;
  ASSERT_EQ(LoadUnits(store, inv, error), 1);
  struct Entry {
    const std::array<UnitEntry, 48>* set;
    int index;
    const char* name;
  };
  const Entry entries[] = {
      {&inv.back, 12, "G_PRE"},   {&inv.back, 13, "G_POST"}, {&inv.back, 10, "G_PRE"},
      {&inv.front, 18, "KE"},     {&inv.front, 19, "KE"},    {&inv.back, 28, "KE"},
      {&inv.back, 29, "KE"},      {&inv.front, 28, "KE"},    {&inv.front, 29, "KE"},
      {&inv.back, 42, "K_PRE"},   {&inv.back, 43, "K_POST"}, {&inv.front, 42, "K_PRE"},
      {&inv.front, 43, "K_POST"}, {&inv.back, 40, "V_PRE"},  {&inv.front, 41, "V_POST"},
      {&inv.back, 0, "B_PRE"},    {&inv.back, 1, "B_POST"},  {&inv.front, 0, "BE_PRE"},
      {&inv.back, 2, "C"},        {&inv.back, 3, "C"},       {&inv.front, 30, "R"},
  };
  for (const auto& e : entries)
    EXPECT_EQ(NameOf(store, (*e.set)[e.index].handle), e.name) << e.index;
}

struct MissingCase {
  const char* missing;
  std::size_t attempts;  // loads tried, the failing one included
};

class LoadUnitsMissing : public testing::TestWithParam<MissingCase> {};

TEST_P(LoadUnitsMissing, StopsAtTheFirstFailureAndNamesIt) {
  test::FakeUnitStore store;
  store.Remove(GetParam().missing);
  TracingStore tracing(store);
  UnitInventory inv;
  std::string error;
  EXPECT_EQ(LoadUnits(tracing, inv, error), 0);
  EXPECT_EQ(error, std::string("Cannot load resource ") + GetParam().missing);
  EXPECT_EQ(tracing.asked.size(), GetParam().attempts);
}

INSTANTIATE_TEST_SUITE_P(Units, LoadUnitsMissing,
                         testing::Values(MissingCase{"A_1", 1}, MissingCase{"E_1", 2},
                                         MissingCase{"C", 11}, MissingCase{"B_POST", 10},
                                         MissingCase{"BE_PRE", 57}, MissingCase{"Z_POST", 56}),
                         [](const auto& info) { return std::string(info.param.missing); });

TEST(LoadUnits, PartlyFilledAfterAFailure) {
  test::FakeUnitStore store;
  store.Remove("B_POST");
  UnitInventory inv;
  std::string error;
  ASSERT_EQ(LoadUnits(store, inv, error), 0);
  EXPECT_NE(inv.back[0].handle, nullptr);  // B_PRE came first
  EXPECT_EQ(inv.back[1].handle, nullptr);
  EXPECT_EQ(inv.back[2].handle, nullptr);
  for (const auto& e : inv.vowels) EXPECT_NE(e.handle, nullptr);
  for (const auto& e : inv.front) EXPECT_EQ(e.handle, nullptr);
}

TEST(LoadUnits, EveryBackEntryIsLoadedBeforeAMissingFrontUnitIsReported) {
  test::FakeUnitStore store;
  store.Remove("BE_PRE");
  UnitInventory inv;
  std::string error;
  ASSERT_EQ(LoadUnits(store, inv, error), 0);
  EXPECT_EQ(error, "Cannot load resource BE_PRE");
  for (const auto& e : inv.back) EXPECT_NE(e.handle, nullptr);
}

// A store holding exactly one unit of the given byte size.
class OneUnitStore final : public UnitStore {
 public:
  explicit OneUnitStore(std::size_t bytes) : bytes_(bytes, 0) {}
  std::span<const unsigned char> Find(std::string_view, std::string_view name) const override {
    if (name != "A_1") return {};
    return {bytes_.data(), bytes_.size()};
  }

 private:
  std::vector<unsigned char> bytes_;
};

TEST(LoadUnit, RefusesUnitsOutsideTheFormat) {
  struct Case {
    std::size_t bytes;
    bool ok;
  };
  for (const Case c :
       {Case{0, false}, Case{1, false}, Case{2, true}, Case{387, false}, Case{388, true},
        Case{65534, true}, Case{65536, false}, Case{65538, false}, Case{200000, false}}) {
    OneUnitStore store(c.bytes);
    std::uint16_t size = 7;
    const UnitHandle h = LoadUnit(store, "A_1", size);
    EXPECT_EQ(h != nullptr, c.ok) << c.bytes;
    EXPECT_EQ(size, c.ok ? c.bytes : 7u) << "size is left alone on failure";
  }
  test::FakeUnitStore fake;
  fake.MakeMalformed("O_1");
  UnitInventory inv;
  std::string error;
  EXPECT_EQ(LoadUnits(fake, inv, error), 0);
  EXPECT_EQ(error, "Cannot load resource O_1");
}

TEST(LoadUnit, SamplesAreReadInPlace) {
  alignas(2) static const unsigned char bytes[] = {0x01, 0x00, 0xFF, 0xFF, 0x00, 0x80};
  const std::int16_t* s = LockUnit(bytes);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s[0], 1);
  EXPECT_EQ(s[1], -1);
  EXPECT_EQ(s[2], -32768);
  EXPECT_EQ(LockUnit(nullptr), nullptr);
  EXPECT_EQ(LockUnit(bytes + 1), nullptr);
}

}  // namespace
}  // namespace orvanel::synth
