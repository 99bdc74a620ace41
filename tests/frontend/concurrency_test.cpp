// The front end keeps no state: the worker and the window may transcribe at the same time.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "frontend/text_to_phonetic.h"

namespace orvanel::frontend {
namespace {

std::string SampleText() {
  // "Güzel bir gün, 1996'da İstanbul'da (saat 12:30)." with escapes, braces and repeats.
  std::string text;
  for (int i = 0; i < 2000; ++i) {
    text += "G\xFCzel bir g\xFCn, 1996'da \\Istanbul'da (saat 12:30)... {~Ka} \\s\\i x ";
    text += std::to_string(i * 7919);
    text += "\r\n";
  }
  return text;
}

TEST(Concurrency, TwoThreadsTranscribeTheSameTextAlike) {
  const std::string input = SampleText();
  std::string expected_text = input;
  std::string expected;
  TextToPhonetic(expected_text, expected);
  ASSERT_FALSE(expected.empty());

  constexpr int kThreads = 2;
  constexpr int kRounds = 5;
  std::vector<std::vector<std::string>> results(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&input, &results, t] {
      for (int round = 0; round < kRounds; ++round) {
        std::string text = input;
        std::string out;
        TextToPhonetic(text, out);
        results[static_cast<std::size_t>(t)].push_back(std::move(out));
      }
    });
  }
  for (auto& thread : threads) thread.join();
  for (const auto& per_thread : results) {
    ASSERT_EQ(per_thread.size(), static_cast<std::size_t>(kRounds));
    for (const auto& out : per_thread) EXPECT_TRUE(out == expected);
  }
}

}  // namespace
}  // namespace orvanel::frontend
