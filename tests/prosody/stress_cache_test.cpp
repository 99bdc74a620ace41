// The memo of word analyses: a word is found only as itself (its key tells it from every word
// that differs in one letter, in its length or in being a name), a lookup never answers with
// another word's value, and a text transcribed from the memo reads as the analysis does.
#include "prosody/stress_cache.h"

#include <gtest/gtest.h>

#include <string>

#include "prosody/prosody.h"
#include "tests/frontend/cp1254_text.h"

namespace orvanel::prosody {
namespace {

using frontend::testing::Cp;
using frontend::testing::Show;

StressCache::Key KeyOf(std::string_view word, bool properName = false) {
  StressCache::Key key;
  EXPECT_TRUE(StressCache::MakeKey(word, properName, key)) << word;
  return key;
}

// Words of 1 to 24 letters are kept (KeyOf checks it) and found only as themselves; an empty or
// a longer word is not kept.
TEST(StressCache, FindsAWordOnlyAsItself) {
  StressCache::Key key;
  EXPECT_FALSE(StressCache::MakeKey("", false, key));
  EXPECT_FALSE(StressCache::MakeKey(std::string(StressCache::kLongestWord + 1, 'a'), false, key));
  const std::string letters =
      "kitaplar\xFDm\xFDzdan"
      "gelemeyece\xF0iz";  // 24 letters
  for (std::size_t size = 1; size <= StressCache::kLongestWord; ++size) {
    const std::string word = letters.substr(0, size);
    StressCache cache;
    cache.Store(KeyOf(word), {3, static_cast<std::uint8_t>(size)});
    const StressCache::Value* found = cache.Find(KeyOf(word));
    ASSERT_NE(found, nullptr) << size;
    EXPECT_EQ(found->rule, 3);
    EXPECT_EQ(found->mark, size);
    EXPECT_EQ(cache.Find(KeyOf(word, true)), nullptr) << "a name is another word: " << size;
    for (std::size_t at = 0; at < size; ++at) {
      std::string other = word;
      other[at] = static_cast<char>(other[at] ^ 0x20);
      EXPECT_EQ(cache.Find(KeyOf(other)), nullptr) << size << " letter " << at;
    }
    if (size < StressCache::kLongestWord) {
      EXPECT_EQ(cache.Find(KeyOf(word + "a")), nullptr) << size;
    }
    if (size > 1) {
      EXPECT_EQ(cache.Find(KeyOf(word.substr(1))), nullptr) << size;
    }
  }
}

// Distinct words of 3 to 14 letters from a counter (its digits in base 20), each with a value that
// the word itself gives.
std::string NthWord(std::size_t n) {
  std::string word;
  for (std::size_t k = n + 1; k != 0; k /= 20) word.push_back(static_cast<char>('a' + k % 20));
  while (word.size() < 3 + n % 12) word.push_back('z');  // not a digit: the words stay apart
  return word;
}
StressCache::Value ValueOf(std::size_t n) {
  return {static_cast<std::int8_t>(n % 13), static_cast<std::uint8_t>(n % 200)};
}

TEST(StressCache, GrowsWithALongTextAndNeverAnswersWithAnotherWordsValue) {
  StressCache cache;
  EXPECT_EQ(cache.Slots(), 0u);
  constexpr std::size_t kWords = StressCache::kLargeSlots * 5 / 4;  // more than it holds
  std::size_t wrong = 0, keptThroughGrowth = 0;
  for (std::size_t n = 0; n < kWords; ++n) {
    const StressCache::Key key = KeyOf(NthWord(n));
    ASSERT_EQ(cache.Find(key), nullptr) << NthWord(n) << " was never stored";
    cache.Store(key, ValueOf(n));
    const StressCache::Value* found = cache.Find(key);
    ASSERT_NE(found, nullptr) << n;
    if (found->rule != ValueOf(n).rule || found->mark != ValueOf(n).mark) ++wrong;
    if (n == StressCache::kGrowAfter - 1) {
      EXPECT_EQ(cache.Slots(), StressCache::kSmallSlots);
    }
    if (n == StressCache::kGrowAfter) {
      EXPECT_EQ(cache.Slots(), StressCache::kLargeSlots);
      for (std::size_t m = 0; m < n; ++m)
        keptThroughGrowth += cache.Find(KeyOf(NthWord(m))) ? 1 : 0;
    }
  }
  // Every word looked up again: found with its own value, or not found at all.
  std::size_t found = 0;
  for (std::size_t n = 0; n < kWords; ++n) {
    if (const StressCache::Value* v = cache.Find(KeyOf(NthWord(n)))) {
      ++found;
      if (v->rule != ValueOf(n).rule || v->mark != ValueOf(n).mark) ++wrong;
    }
  }
  EXPECT_EQ(wrong, 0u);
  EXPECT_GE(keptThroughGrowth, StressCache::kGrowAfter * 9 / 10);  // a few full sets lose one
  EXPECT_GE(found, StressCache::kLargeSlots * 3 / 4);  // a full table, a few sets not full
  EXPECT_LE(found, StressCache::kLargeSlots);
}

TEST(StressTranscriber, WordsFromTheMemoAreMarkedAsWhenAnalysed) {
  // Each line repeats the words of the first: the first time they are analysed, then found.
  const std::string line =
      Cp(u8"Ankara'ya gelmedi mi? Kitaplarımızdan birini okuyorduk, İstanbul'da "
         u8"yaşıyorken gelirse de gelmeyecekmiş. Adana ve Antalya güzeldir.");
  std::string once = line + "\n", expected;
  TextToPhoneticWithStress(once, expected);
  std::string text, joined;
  for (int k = 0; k < 3; ++k) {
    text += line + "\n";
    joined += expected;
  }
  std::string out;
  TextToPhoneticWithStress(text, out);
  EXPECT_EQ(Show(out), Show(joined));
}

}  // namespace
}  // namespace orvanel::prosody
