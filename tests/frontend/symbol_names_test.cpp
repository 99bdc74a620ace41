// Symbol names: every character is either named or copied, and repeats are read once.
#include <gtest/gtest.h>

#include "frontend/symbol_names.h"
#include "tests/frontend/reference_transcriber.h"

namespace orvanel::frontend {
namespace {

TEST(ReadSymbols, EveryByteOnItsOwn) {
  int named = 0;
  for (int b = 1; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    const std::string_view name = SymbolNameOf(one[0]);
    named += !name.empty();
    EXPECT_EQ(ReadSymbols(one), name.empty() ? one : std::string(name)) << b;
  }
  EXPECT_EQ(named, 19);
}

TEST(ReadSymbols, RepeatsOfEveryByte) {
  for (int b = 1; b < 256; ++b) {
    const char ch = static_cast<char>(b);
    const std::string three(3, ch);
    const bool mark = ch == '`' || ch == '|' || ch == '^';
    EXPECT_EQ(ReadSymbols(three), mark ? three : ReadSymbols(std::string(1, ch))) << b;
  }
}

TEST(ReadSymbols, NamesContainNoNamedSymbol) {
  for (const auto& entry : SymbolNameTable) {
    for (const char ch : entry.name) EXPECT_TRUE(SymbolNameOf(ch).empty()) << entry.symbol;
  }
}

TEST(ReadSymbols, AgreesWithReferenceOnMixedRuns) {
  const std::string runs[] = {
      "", " ", "((", "(([", "-- ++", "``^^||", ".!?,.", "\xE2\xE2\xFF", "a-b", "\"\"$", "``-``"};
  for (const auto& run : runs) EXPECT_EQ(ReadSymbols(run), testing::ReferenceReadSymbols(run));
}

}  // namespace
}  // namespace orvanel::frontend
