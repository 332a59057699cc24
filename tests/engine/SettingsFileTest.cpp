// "quorbel.cfg": ten numbers written as a print statement writes them.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "TempMaterial.h"
#include "settings/SettingsFile.h"

namespace quorbel {
namespace {

TEST(SettingsFile, MissingMeansEverythingAtRandomAndWritingRoundTrips) {
  testing::TempMaterial m;
  const auto path = m.root() / "quorbel.cfg";
  SettingsValues zeros = ReadSettingsFile(path);
  for (int i = 1; i <= 10; ++i) EXPECT_EQ(zeros[static_cast<std::size_t>(i)], 0);

  SettingsValues v = {0, 1, 2, 3, 12, 0, 4, 1, 3, 2, 1};
  WriteSettingsFile(path, v);
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(bytes, " 1 \r\n 2 \r\n 3 \r\n 12 \r\n 0 \r\n 4 \r\n 1 \r\n 3 \r\n 2 \r\n 1 \r\n");
  EXPECT_EQ(ReadSettingsFile(path), v);
}

TEST(SettingsFile, AShortFileNamesTheMissingLine) {
  testing::TempMaterial m;
  m.Write("quorbel.cfg", " 1 \n 2 \n");
  try {
    ReadSettingsFile(m.root() / "quorbel.cfg");
    FAIL();
  } catch (const DataError& e) {
    EXPECT_STREQ(e.what(), "quorbel.cfg: line 3: end of file where a field was expected");
  }
}

}  // namespace
}  // namespace quorbel
