// The committed units are exactly what the generator makes: regenerate and compare bytes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/units/unit_analysis.h"
#include "tests/units/unit_catalogue.h"

namespace orvanel::unit_tests {
namespace {

namespace fs = std::filesystem;

class TemporaryFolder {
 public:
  TemporaryFolder() {
    std::string pattern = (fs::temp_directory_path() / "orvanel-units-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~TemporaryFolder() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

TEST(Regeneration, GeneratorReproducesEveryCommittedUnitByteForByte) {
  TemporaryFolder dir;
  ASSERT_FALSE(dir.path().empty());
  const fs::path out = dir.path() / "units";
  const std::string command =
      std::string("'") + ORVANEL_UNITGEN + "' '" + out.string() + "' > /dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;

  int files = 0;
  for (const fs::directory_entry& e : fs::directory_iterator(out)) {
    (void)e;
    ++files;
  }
  EXPECT_EQ(files, 56);
  for (const CatalogueEntry& e : Catalogue()) {
    const std::vector<unsigned char> made = ReadBytes((out / std::string(e.name)).string());
    const std::vector<unsigned char> committed = ReadBytes(UnitPath(e.name));
    ASSERT_EQ(made.size(), 2u * e.samples) << e.name;
    EXPECT_TRUE(made == committed) << e.name << " differs from units/" << e.name;
  }
}

TEST(Regeneration, GeneratorWithoutAFolderPrintsUsageAndFails) {
  const std::string command = std::string("'") + ORVANEL_UNITGEN + "' > /dev/null 2>&1";
  const int status = std::system(command.c_str());
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 2);
}

}  // namespace
}  // namespace orvanel::unit_tests
