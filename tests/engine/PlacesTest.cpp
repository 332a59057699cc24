// Where the program works: the material folder it chooses, the reader's folders it writes to in
// the installed case, and what it says when there is no material anywhere.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "TempMaterial.h"
#include "cli/Cli.h"
#include "story/Places.h"

namespace quorbel {
namespace {

namespace fs = std::filesystem;

struct Install {
  testing::TempMaterial t;
  Surroundings around;
  fs::path share = t.root() / "usr/share/quorbel";

  Install() {
    fs::create_directories(t.root() / "cwd");
    fs::create_directories(t.root() / "home");
    around.currentFolder = t.root() / "cwd";
    around.executable = t.root() / "usr/bin/quorbel";
    around.home = t.root() / "home";
  }
  void Material(const fs::path& folder) {
    t.Write(fs::relative(folder, t.root()).string() + "/styles.qrb", "classic\nКлассика\n");
  }
};

TEST(Places, AGivenFolderOrAMaterialFolderHereKeepsEverythingInIt) {
  Install in;
  in.Material(in.share);
  PlacesChoice given = ChoosePlaces("mine", in.around);
  ASSERT_TRUE(given.places);
  EXPECT_EQ(given.places->material, "mine");
  EXPECT_EQ(given.places->config, "mine");
  EXPECT_EQ(given.places->save, "mine");

  in.Material(in.around.currentFolder);
  PlacesChoice here = ChoosePlaces({}, in.around);
  ASSERT_TRUE(here.places);
  EXPECT_FALSE(here.places->installed);
  EXPECT_EQ(here.places->material, in.around.currentFolder);
  EXPECT_EQ(here.places->config, in.around.currentFolder);
  EXPECT_EQ(here.places->save, in.around.currentFolder);
}

TEST(Places, TheInstalledMaterialWritesToTheReadersFolders) {
  Install in;
  in.Material(in.share);
  in.around.xdgConfigHome = (in.t.root() / "xdg").string();
  PlacesChoice where = ChoosePlaces({}, in.around);
  ASSERT_TRUE(where.places);
  EXPECT_TRUE(where.places->installed);
  EXPECT_EQ(where.places->material, in.share);
  EXPECT_EQ(where.places->config, in.t.root() / "xdg/quorbel");
  EXPECT_EQ(where.places->save, in.around.home);  // no documents folder

  in.around.xdgConfigHome = "relative/xdg";  // ignored, as relative XDG folders must be
  EXPECT_EQ(ConfigFolder(in.around), in.around.home / ".config/quorbel");

  fs::create_directories(in.around.home / "Documents");
  EXPECT_EQ(DocumentsFolder(in.around), in.around.home / "Documents");
  fs::create_directories(in.around.home / ".config");
  std::ofstream(in.around.home / ".config/user-dirs.dirs") << "# xdg-user-dirs\nXDG_DOCUMENTS_DIR=\"$HOME/Документы\"\n";
  EXPECT_EQ(DocumentsFolder(in.around), in.around.home / "Documents");  // set, but not there
  fs::create_directories(in.around.home / "Документы");
  EXPECT_EQ(DocumentsFolder(in.around), in.around.home / "Документы");
}

TEST(Places, NoMaterialSaysWhereItLooked) {
#ifdef _WIN32
  GTEST_SKIP() << "the installed material is found through /proc/self/exe";
#endif
  Install in;
  PlacesChoice none = ChoosePlaces({}, in.around);
  EXPECT_FALSE(none.places);
  EXPECT_EQ(NoMaterialMessage(none.looked), "no story material (styles.qrb) in " + in.around.currentFolder.string() +
                                                ", " + in.share.string() + "; give its folder with --data DIR");

  // The command line from an empty folder, with this test's own executable as the install.
  const fs::path before = fs::current_path();
  fs::current_path(in.around.currentFolder);
  std::ostringstream out, err;
  const int code = cli::Run({"--seed", "1"}, out, err);
  fs::current_path(before);
  const fs::path installed = (fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "share/quorbel");
  EXPECT_EQ(code, 1);
  EXPECT_EQ(err.str(), "quorbel-cli: no story material (styles.qrb) in " + in.around.currentFolder.string() + ", " +
                           installed.lexically_normal().string() + "; give its folder with --data DIR\n");
}

TEST(Places, HelpAndVersion) {
  std::ostringstream out, err;
  EXPECT_EQ(cli::Run({"--version"}, out, err), 0);
  EXPECT_EQ(out.str(), "quorbel-cli " QUORBEL_VERSION "\n");
  out.str("");
  EXPECT_EQ(cli::Run({"--seed", "1", "--help"}, out, err), 0);
  EXPECT_EQ(out.str().rfind("usage: quorbel-cli [--data DIR]", 0), 0u);
  EXPECT_TRUE(err.str().empty());
}

}  // namespace
}  // namespace quorbel
