// The shipped story material: it checks clean, stories of every theme and plot variant play to
// their end without a fault, leaving no token or break mark in the text, and the classic opening
// introduces the whole cast before the first guess.
#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "TempMaterial.h"
#include "app/StorySession.h"
#include "cli/Checker.h"
#include "cli/Players.h"

namespace quorbel {
namespace {

const std::filesystem::path kData = std::filesystem::path(QUORBEL_SOURCE_DIR) / "data";

TEST(ShippedMaterial, ChecksClean) {
  std::ostringstream out;
  EXPECT_EQ(cli::RunCheck(DataDir(kData), out), 0);
  // The summary is the last line; warnings the material marks as meant are not counted.
  const std::string text = out.str();
  EXPECT_EQ(text.find(": error: "), std::string::npos) << text;
  EXPECT_TRUE(text.ends_with(" warnings\n") || text.ends_with(" warning\n")) << text;
  const std::size_t last = text.rfind('\n', text.size() - 2);
  EXPECT_EQ(text.compare(last == std::string::npos ? 0 : last + 1, 9, "0 errors,"), 0) << text;
}

TEST(ShippedMaterial, EveryThemeAndVariantOfBothStylesPlaysToItsEnd) {
  testing::TempMaterial m;
  m.CopyFrom(kData);
  const DataDir dir = m.dir();
  for (int style = 1; style <= 2; ++style)
  for (int theme = 1; theme <= 4; ++theme) {
    SCOPED_TRACE("style " + std::to_string(style) + " theme " + std::to_string(theme));
    m.Write("quorbel.cfg", " " + std::to_string(style) + " \n " + std::to_string(theme) +
                               " \n 0 \n 0 \n 0 \n 0 \n 0 \n 0 \n 0 \n 0 \n");
    std::set<Long> variants;
    for (std::uint64_t seed = 1; seed <= 40 && variants.size() < 2; ++seed) {
      SeededRandom rng(seed);
      SeededRandom playerRng(~seed);
      cli::RandomPlayer player(playerRng);
      StorySession session(dir, rng);
      session.Load();
      ASSERT_NO_THROW(session.TimerTick()) << "theme " << theme << " seed " << seed;
      while (!session.finished()) {
        session.PickDigits(player.Next());
        ASSERT_NO_THROW(session.Ok()) << "theme " << theme << " seed " << seed;
      }
      const StoryState& s = session.state();
      EXPECT_EQ(s.styleFolder, style == 1 ? u"classic/" : u"ironic/");
      variants.insert(s.plotVariant);
      std::size_t words = 0;
      for (Long i = 1; i <= s.lineCount; ++i) {
        const Text& line = s.textLines[i];
        EXPECT_LE(line.size(), i == 1 ? 45u : 51u) << "seed " << seed << " line " << i;
        for (const char16_t* token : {u"_sus", u"_npc", u"_call", u"_Z_", u"|"})
          EXPECT_FALSE(Contains(line, token)) << ToUtf8(line);
        std::istringstream in(ToUtf8(line));
        for (std::string w; in >> w;)
          if (w != "-" && w != "—") ++words;
      }
      EXPECT_GE(words, 500u) << "theme " << theme << " seed " << seed;
    }
    EXPECT_EQ(variants.size(), 2u) << "theme " << theme;
  }
}

// The page text with hyphenated line ends joined and justification blanks collapsed, so that a
// name broken or spaced out on the page can be found whole.
Text PlainText(const StoryState& s) {
  Text all;
  for (Long i = 1; i <= s.lineCount; ++i) {
    if (!all.empty() && all.back() == u'-') all.pop_back();
    else if (!all.empty()) all += u' ';
    all += s.textLines[i];
  }
  Text plain;
  for (char16_t c : all)
    if (c != u' ' || (!plain.empty() && plain.back() != u' ')) plain += c;
  return plain;
}

TEST(ShippedMaterial, ClassicOpeningNamesAllTenSuspects) {
  testing::TempMaterial m;
  m.CopyFrom(kData);
  for (int theme = 1; theme <= 4; ++theme)
  for (std::uint64_t seed = 1; seed <= 12; ++seed) {
    m.Write("quorbel.cfg", " 1 \n " + std::to_string(theme) + " \n 0 \n 0 \n 0 \n 0 \n 0 \n 0 \n 0 \n 0 \n");
    SeededRandom rng(seed);
    StorySession session(m.dir(), rng);
    session.Load();
    session.TimerTick();
    const StoryState& s = session.state();
    const Text text = PlainText(s);
    for (Long i = 1; i <= 10; ++i)  // a cast name ends with its gender code
      EXPECT_TRUE(Contains(text, s.castNames[i].substr(0, s.castNames[i].size() - 1)))
          << "theme " << theme << " seed " << seed << " suspect " << i << ": "
          << ToUtf8(s.castNames[i]);
  }
}

}  // namespace
}  // namespace quorbel
