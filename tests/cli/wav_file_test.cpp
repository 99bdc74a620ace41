#include "cli/wav_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace orvanel::cli {
namespace {

TEST(WavFile, HeaderDescribesSixteenBitMono) {
  const std::string h = WavHeader(11246, 1000);
  ASSERT_EQ(h.size(), 44u);
  const std::string expected(
      "RIFF\xF4\x07\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00"
      "\xEE\x2B\x00\x00\xDC\x57\x00\x00\x02\x00\x10\x00"
      "data\xD0\x07\x00\x00",
      44);
  EXPECT_EQ(h, expected);
}

TEST(WavFile, WritesAtomicallyAndReplacesAnOldFile) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("orvanel-wav-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const auto path = dir / "speech.raw";
  std::ofstream(path) << "old contents that are longer than the new ones";
  std::string error;
  ASSERT_TRUE(WriteSpeechFile(path.string(), true, 22050, {1, -2, 0x7FFF}, error)) << error;
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  EXPECT_EQ(s.str(), std::string("\x01\x00\xFE\xFF\xFF\x7F", 6));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace orvanel::cli
