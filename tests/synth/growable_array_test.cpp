#include "synth/growable_array.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace orvanel::synth {
namespace {

struct GrowthCase {
  std::size_t fromSize;      // the array is first set to this size
  std::size_t toSize;        // then to this one
  std::size_t explicitStep;  // 0: the rule's own step
  std::size_t capacity;      // expected capacity afterwards
};

// The step is size / 8 clamped to 4..1024; the capacity becomes max(request, old + step).
const GrowthCase kGrowth[] = {
    {0, 1, 0, 4},                            // empty: step 4
    {4, 5, 0, 8},                            // 4 / 8 = 0, clamped to 4
    {8, 9, 0, 12},                           // 8 / 8 = 1, clamped to 4
    {40, 41, 0, 45},                         // 40 / 8 = 5
    {100, 101, 0, 112},                      // 100 / 8 = 12
    {100, 300, 0, 300},                      // the request is larger than old + step
    {9000, 9001, 0, 10024},                  // 9000 / 8 = 1125, clamped to 1024
    {10, 11, 3, 13},                         // explicit step
    {10, 11, 100, 110},     {10, 5, 0, 10},  // shrinking keeps the storage
};

TEST(GrowableArray, GrowsByItsStepRule) {
  for (const GrowthCase& c : kGrowth) {
    GrowableArray<std::uint32_t> array;
    ASSERT_TRUE(array.SetSize(c.fromSize));
    ASSERT_EQ(array.Capacity(), c.fromSize);
    array.SetGrowStep(c.explicitStep);
    ASSERT_TRUE(array.SetSize(c.toSize));
    EXPECT_EQ(array.Size(), c.toSize);
    EXPECT_EQ(array.Capacity(), c.capacity) << c.fromSize << " -> " << c.toSize;
  }
}

TEST(GrowableArray, AppendsReallocateOnlyAtStepBoundaries) {
  GrowableArray<std::uint32_t> array;
  std::vector<std::size_t> capacities;
  for (std::uint32_t k = 0; k < 60; ++k) {
    ASSERT_TRUE(array.Append(k));
    if (capacities.empty() || capacities.back() != array.Capacity()) {
      capacities.push_back(array.Capacity());
    }
  }
  const std::vector<std::size_t> expected = {4, 8, 12, 16, 20, 24, 28, 32, 36, 40, 45, 50, 56, 63};
  EXPECT_EQ(capacities, expected);
  for (std::uint32_t k = 0; k < 60; ++k) EXPECT_EQ(array[k], k);
}

TEST(GrowableArray, NewElementsAreZero) {
  GrowableArray<std::int32_t> array;
  ASSERT_TRUE(array.SetSize(6));
  for (std::size_t k = 0; k < 6; ++k) {
    EXPECT_EQ(array[k], 0);
    array[k] = 7;
  }
  // Shrinking and growing again within the capacity still gives zeros.
  ASSERT_TRUE(array.SetSize(2));
  ASSERT_TRUE(array.SetSize(6));
  EXPECT_EQ(array[1], 7);
  for (std::size_t k = 2; k < 6; ++k) EXPECT_EQ(array[k], 0) << k;
}

TEST(GrowableArray, SizeZeroFreesTheStorage) {
  GrowableArray<std::int32_t> array;
  ASSERT_TRUE(array.SetSize(100));
  array.Clear();
  EXPECT_TRUE(array.Empty());
  EXPECT_EQ(array.Capacity(), 0u);
  EXPECT_EQ(array.begin(), nullptr);
}

}  // namespace
}  // namespace orvanel::synth
