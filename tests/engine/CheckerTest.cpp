// The material checker over a small valid style (tests/fixtures/check/valid, Windows-1251 with
// CR LF) in which single files are replaced by malformed fixtures or removed.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "cli/Checker.h"

namespace fs = std::filesystem;

namespace {

const fs::path kFixtures = fs::path(QUORBEL_FIXTURES) / "check";

struct Result {
  int status;
  std::string out;
};

// Checks a copy of the valid style with files replaced (target, fixture) and removed.
Result CheckWith(const std::vector<std::pair<std::string, std::string>>& replace,
                 const std::vector<std::string>& remove = {}) {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  fs::path dir =
      fs::temp_directory_path() / ("quorbel-check-" + std::string(info->name()) + "-" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::copy(kFixtures / "valid", dir, fs::copy_options::recursive);
  for (const auto& [target, fixture] : replace)
    fs::copy_file(kFixtures / fixture, dir / target, fs::copy_options::overwrite_existing);
  for (const auto& target : remove) fs::remove(dir / target);
  std::ostringstream out;
  int status = quorbel::cli::RunCheck(quorbel::DataDir(dir), out);
  fs::remove_all(dir);
  return {status, out.str()};
}

Result CheckPhrases(const std::string& fixture) { return CheckWith({{"classic/m_react.qrb", fixture}}); }

TEST(Checker, ValidStyleChecksClean) {
  Result r = CheckWith({});
  EXPECT_EQ(r.out, "0 errors, 0 warnings\n");
  EXPECT_EQ(r.status, 0);
}

TEST(Checker, NamesDifferingOnlyInCase) {
#ifdef _WIN32
  GTEST_SKIP() << "a Windows folder cannot hold both names";
#endif
  Result r = CheckWith({{"classic/M_React.qrb", "valid/classic/m_react.qrb"}});
  EXPECT_EQ(r.out,
            "classic/m_react.qrb:1: warning: the name differs from classic/M_React.qrb only in case; "
            "a Windows disk keeps one of them\n0 errors, 1 warning\n");
  EXPECT_EQ(r.status, 0);
}

TEST(Checker, MissingFolderReportsTheTopFiles) {
  std::ostringstream out;
  int status = quorbel::cli::RunCheck(quorbel::DataDir(kFixtures / "no-such-folder"), out);
  EXPECT_EQ(out.str(),
            "styles.qrb:1: error: file not found\n"
            "quorbel.cfg:1: error: file not found\n"
            "Letters:1: error: folder not found (29 letter pictures Letters/N.gif expected)\n"
            "3 errors, 0 warnings\n");
  EXPECT_EQ(status, 1);
}

TEST(Checker, Encoding) {
  EXPECT_EQ(CheckWith({{"classic/themes.qrb", "encoding/themes_utf8.qrb"}}).out,
            "classic/themes.qrb:1: error: the file is UTF-8, not Windows-1251\n1 error, 0 warnings\n");
  EXPECT_EQ(CheckWith({{"classic/words_1.qrb", "encoding/words_mojibake.qrb"}}).out,
            "classic/words_1.qrb:2: error: UTF-8 text in a Windows-1251 file (\"РўРё\")\n1 error, 0 warnings\n");
  EXPECT_EQ(CheckWith({{"classic/pers_1.qrb", "encoding/pers_byte98.qrb"}}).out,
            "classic/pers_1.qrb:3: error: the byte 0x98, which Windows-1251 does not define\n1 error, 0 "
            "warnings\n");
  EXPECT_EQ(CheckWith({{"classic/qst_1_1.qrb", "encoding/qst_lf.qrb"}}).out,
            "classic/qst_1_1.qrb:5: error: the line ends with LF alone, not CR LF\n1 error, 0 warnings\n");
  Result r = CheckWith({{"classic/var_1.qrb", "encoding/var_no_final_crlf.qrb"}});
  EXPECT_EQ(r.out, "classic/var_1.qrb:2: error: the last line does not end with CR LF\n1 error, 0 warnings\n");
  EXPECT_EQ(r.status, 1);
}

TEST(Checker, Catalogues) {
  EXPECT_EQ(CheckWith({{"styles.qrb", "catalogues/styles_odd.qrb"}}).out,
            "styles.qrb:3: error: a style folder without its display name (pairs of lines)\n1 error, 0 warnings\n");
  EXPECT_EQ(CheckWith({{"quorbel.cfg", "catalogues/cfg_short.cfg"}}).out,
            "quorbel.cfg:9: error: only 9 settings; ten expected\n1 error, 0 warnings\n");
  EXPECT_EQ(CheckWith({{"quorbel.cfg", "catalogues/cfg_range.cfg"}}).out,
            "quorbel.cfg:3: error: setting 3 (absurdity) must be 0..3\n"
            "quorbel.cfg:9: error: setting 9 (precipitation) must be 0..8\n"
            "2 errors, 0 warnings\n");
  EXPECT_EQ(CheckWith({{"classic/words_1.qrb", "catalogues/words_11.qrb"}}).out,
            "classic/words_1.qrb:11: error: more than 10 title words\n1 error, 0 warnings\n");
  EXPECT_EQ(CheckWith({{"classic/pers_1.qrb", "catalogues/pers_9.qrb"}}).out,
            "classic/pers_1.qrb:1: error: only 9 distinct persons; a cast needs ten\n1 error, 0 warnings\n");
  EXPECT_EQ(CheckWith({{"classic/var_1.qrb", "catalogues/var_weight.qrb"}}).out,
            "classic/var_1.qrb:2: error: a weight must be 0..1000000\n1 error, 0 warnings\n");
  // What fails every story is an error, in the story's own words.
  EXPECT_EQ(CheckWith({{"classic/var_1.qrb", "catalogues/var_zero.qrb"}}).out,
            "classic/var_1.qrb:1: error: the variant weights add up to 0\n1 error, 0 warnings\n");
  EXPECT_EQ(CheckWith({{"classic/ottens_1.qrb", "catalogues/ottens_101.qrb"}}).out,
            "classic/ottens_1.qrb:104: error: more than 100 lines in shade group \"звуки\"\n1 error, 0 warnings\n");
  EXPECT_EQ(CheckWith({{"classic/qst_1_1.qrb", "catalogues/qst_11.qrb"}}).out,
            "classic/qst_1_1.qrb:11: error: only 11 questions; 12 expected\n1 error, 0 warnings\n");
  EXPECT_EQ(CheckWith({{"classic/fin_1_1.qrb", "catalogues/fin_no3.qrb"}}).out,
            "classic/fin_1_1.qrb:1: error: no ending of kind 3 (a defeat)\n1 error, 0 warnings\n");
}

TEST(Checker, ThemeWithoutPlaceholderWarnsOfQuestionsThatUseIt) {
  Result r = CheckWith({{"classic/themes.qrb", "catalogues/themes_noz.qrb"}});
  EXPECT_EQ(r.out,
            "classic/qst_1_1.qrb:1: warning: \"_Z_\" in a question of theme 1, whose title has no \"_Z_\" "
            "(it shows "
            "the title word of an earlier story)\n"
            "classic/qst_1_1.qrb:5: warning: \"_Z_\" in a question of theme 1, whose title has no \"_Z_\" "
            "(it shows "
            "the title word of an earlier story)\n"
            "0 errors, 2 warnings\n");
  EXPECT_EQ(r.status, 0);
}

TEST(Checker, MissingFilesAndPictures) {
  EXPECT_EQ(CheckWith({}, {"classic/fin_1_1.qrb"}).out,
            "classic/themes.qrb:1: error: \"classic/fin_1_1.qrb\" not found (theme 1, variant 1)\n"
            "1 error, 0 warnings\n");
  EXPECT_EQ(CheckWith({}, {"classic/ottens_1.qrb"}).out,
            "styles.qrb:1: error: \"classic/ottens_1.qrb\" not found\n1 error, 0 warnings\n");
  EXPECT_EQ(CheckWith({{"Letters/3.gif", "catalogues/letter_text.gif"}}, {"Letters/7.gif"}).out,
            "Letters/3.gif:1: error: not a GIF picture (it does not start with \"GIF8\")\n"
            "Letters/7.gif:1: error: letter picture not found\n"
            "2 errors, 0 warnings\n");
}

TEST(Checker, EpisodeFiles) {
  EXPECT_EQ(CheckWith({{"classic/osn_1_1.qrb", "episodes/osn_bad.qrb"}}).out,
            "classic/osn_1_1.qrb:3: error: chance \"150\" must be 0..100\n"
            "classic/osn_1_1.qrb:12: error: phrase file \"classic/m_none.qrb\" not found\n"
            "classic/osn_1_1.qrb:13: error: day range \"5-2\": lo is above hi\n"
            "classic/osn_1_1.qrb:14: error: minute range \"20\" must be two whole numbers lo-hi\n"
            "classic/osn_1_1.qrb:29: warning: group key 1 comes back after another group and starts a new group\n"
            "4 errors, 1 warning\n");
  EXPECT_EQ(CheckWith({{"classic/ncl_1_1.qrb", "episodes/ncl_cut.qrb"}}).out,
            "classic/ncl_1_1.qrb:8: error: the file ends in the middle of an episode record (seven reads)\n"
            "1 error, 0 warnings\n");
  EXPECT_EQ(CheckWith({{"classic/ncl_1_1.qrb", "episodes/ncl_escape.qrb"}}).out,
            "classic/ncl_1_1.qrb:5: error: the name \"../../evil\" leads out of the material folder\n"
            "classic/m_react.qrb:25: warning: no record of the style records the fact \"яд\"\n"
            "1 error, 1 warning\n");
  EXPECT_EQ(CheckWith({{"classic/fin_1_1.qrb", "episodes/fin_trailing.qrb"}}).out,
            "classic/fin_1_1.qrb:10: error: an empty line after the last record (it is read as the start of "
            "another "
            "record)\n1 error, 0 warnings\n");
  EXPECT_EQ(CheckWith({{"classic/osn_1_1.qrb", "episodes/osn_dry.qrb"}}).out,
            "classic/osn_1_1.qrb:1: warning: group 1 has 2 records, all with chance 100: it can run dry before the "
            "eighth guess\n0 errors, 1 warning\n");
  EXPECT_EQ(CheckWith({{"classic/ncl_1_1.qrb", "episodes/ncl_drop.qrb"}}).out,
            "classic/n_arrival.qrb:27: warning: the fact \"яд\" stays when classic/ncl_1_1.qrb:3 (chance 60) drops the "
            "step that tells it, yet classic/m_react.qrb:25 reads it\n0 errors, 1 warning\n");
}

TEST(Checker, PhraseKeysFollowTheEngineWalk) {
  EXPECT_EQ(CheckPhrases("phrases/keys.qrb").out,
            "classic/m_react.qrb:17: error: the key \"ac\" where \"ab\" is due (plan 1, word 2)\n"
            "classic/m_react.qrb:1: warning: the plan word \"ab1\" has no records\n"
            "1 error, 1 warning\n");
  EXPECT_EQ(CheckPhrases("phrases/keys_last.qrb").out,
            "classic/m_react.qrb:16: error: the key \"ac\" follows the last word of plan 1\n1 error, 0 warnings\n");
  EXPECT_EQ(CheckPhrases("phrases/keys_noplan.qrb").out,
            "classic/m_react.qrb:16: error: the key \"ba\" belongs to no plan after plan 1\n1 error, 0 warnings\n");
  Result r = CheckPhrases("phrases/last_single.qrb");
  EXPECT_EQ(r.out,
            "classic/m_react.qrb:16: warning: the last group of the file has a single record, which is never "
            "chosen\n"
            "classic/m_react.qrb:18: warning: [repetition] \"Инспектор\" echoes \"Инспектор\" of the phrase at line "
            "6, which may come just before: \"Инспектор кивает.\"\n"
            "classic/m_react.qrb:18: warning: [repetition] \"кивает\" echoes \"кивает\" of the phrase at line 6, "
            "which may come just before: \"Инспектор кивает.\"\n"
            "0 errors, 3 warnings\n");
  EXPECT_EQ(r.status, 0);
}

TEST(Checker, PhraseFileLayout) {
  EXPECT_EQ(CheckPhrases("phrases/plan_bars.qrb").out,
            "classic/m_react.qrb:2: error: a plan line needs two \"|\": kind, blank, words|closing mode|level\n"
            "1 error, 0 warnings\n");
  EXPECT_EQ(CheckPhrases("phrases/plan_words.qrb").out,
            "classic/m_react.qrb:1: error: an empty plan word (two blanks in a row, or a blank at an end)\n"
            "classic/m_react.qrb:2: error: the key \"ca\" does not begin with the plan initial \"a\"\n"
            "classic/m_react.qrb:2: error: the same initial \"a\" as the plan before it\n"
            "classic/m_react.qrb:2: warning: plan 2 has no records\n"
            "3 errors, 1 warning\n");
  EXPECT_EQ(CheckPhrases("phrases/mid_record.qrb").out,
            "classic/m_react.qrb:15: error: the file ends in the middle of a record (six lines each)\n"
            "1 error, 0 warnings\n");
  EXPECT_EQ(CheckPhrases("phrases/no_empty_line.qrb").out,
            "classic/m_react.qrb:2: error: no empty line after the plan lines\n1 error, 0 warnings\n");
  EXPECT_EQ(CheckPhrases("phrases/plan_level.qrb").out,
            "classic/m_react.qrb:1: warning: plan level 5: no absurdity level uses this plan\n"
            "classic/m_react.qrb:2: warning: closing mode \"2\" is neither 0 nor 1 (the line is left as it is)\n"
            "0 errors, 2 warnings\n");
}

TEST(Checker, ConditionColumns) {
  EXPECT_EQ(CheckPhrases("conditions/m_react.qrb").out,
            "classic/m_react.qrb:5: error: first month \"13\" must be \"01\"..\"12\" (columns 3-4)\n"
            "classic/m_react.qrb:11: error: first day \"31\" is not a day of month 04 (columns 1-2)\n"
            "classic/m_react.qrb:17: error: light phase \"13\" must be 00..12 (columns 10-11)\n"
            "classic/m_react.qrb:23: error: clouds \"05\" must be 00..04 (columns 16-17)\n"
            "classic/m_react.qrb:29: error: lowest temperature \"-5x\" is not a whole number (columns 25-27)\n"
            "classic/m_react.qrb:35: error: the conditions line has 29 characters; 30 expected\n"
            "classic/m_react.qrb:47: error: first day \"29\" is not a day of month 02 (columns 1-2)\n"
            "classic/m_react.qrb:41: warning: the date window 01123101 ends before it begins: never eligible\n"
            "classic/m_react.qrb:47: warning: lowest temperature 10 is above highest 5: never eligible\n"
            "7 errors, 2 warnings\n");
}

TEST(Checker, TextTokens) {
  EXPECT_EQ(CheckPhrases("tokens/m_react.qrb").out,
            "classic/m_react.qrb:6: error: \"_sus\" must be followed by a digit 1..4\n"
            "classic/m_react.qrb:12: error: \"_npc\" must be followed by a digit\n"
            "classic/m_react.qrb:18: error: \"_call\" without \")\" after its title\n"
            "classic/m_react.qrb:24: error: no shade group \"шорох\" in the shade file\n"
            "classic/m_react.qrb:30: error: \"_call\" needs the flag 0 or 1 after \")\"\n"
            "classic/m_react.qrb:36: warning: no shade group \"абсурд\" applies at absurdity level 1\n"
            "classic/m_react.qrb:36: warning: no shade group \"абсурд\" applies at absurdity level 2\n"
            "classic/m_react.qrb:42: warning: \"_Z_\" stays as written: phrase texts replace only \"_sus\", "
            "\"_npc\" "
            "and \"_call\"\n"
            "classic/m_react.qrb:48: warning: \"_\" that starts no token (\"_sus\", \"_npc\", \"_call\")\n"
            "5 errors, 4 warnings\n");
}

TEST(Checker, Preconditions) {
  EXPECT_EQ(CheckPhrases("preconditions/m_react.qrb").out,
            "classic/m_react.qrb:8: error: \"_zug\" must be followed by one digit and nothing else\n"
            "classic/m_react.qrb:32: error: \"_vrm2_\" value \"0800-12\" must be two times hhmm, e.g. 0800-1200\n"
            "classic/m_react.qrb:56: error: \"_den1_\" value \"x\" is not a whole number\n"
            "classic/m_react.qrb:62: error: \"_word_\" needs a value between two characters, e.g. _word_(...)\n"
            "classic/m_react.qrb:14: warning: \"_zug9\": a story has at most eight guesses, never eligible\n"
            "classic/m_react.qrb:20: warning: \"_osh3\": the verdict is 0, 1 or 2, never eligible\n"
            "classic/m_react.qrb:26: warning: \"_sus2\" score \" 3 1\" that no guess can have: never eligible\n"
            "classic/m_react.qrb:38: warning: \"_absd_\" level 4: no absurdity level matches\n"
            "classic/m_react.qrb:44: warning: no record of the style records the fact \"нашёл_письмо\"\n"
            "classic/m_react.qrb:50: warning: the title word \"Белая цапля\" is not in the words file: never "
            "holds\n"
            "classic/m_react.qrb:74: warning: \"_absd_\" level 2 in a plan of level 3: never eligible\n"
            "classic/m_react.qrb:86: warning: \"_vrm2_\" window \"1200-0800\" ends before it begins: never "
            "eligible\n"
            "4 errors, 8 warnings\n");
}

TEST(Checker, LimitsOfTheDataModel) {
  EXPECT_EQ(CheckWith({{"classic/osn_1_1.qrb", "limits/osn_101.qrb"}}).out,
            "classic/osn_1_1.qrb:701: error: more than 100 groups\n1 error, 0 warnings\n");
  EXPECT_EQ(CheckPhrases("limits/words_51.qrb").out,
            "classic/m_react.qrb:1: error: more than 50 words in a plan\n1 error, 0 warnings\n");
  EXPECT_EQ(CheckPhrases("limits/plans_101.qrb").out,
            "classic/m_react.qrb:101: error: more than 100 plan lines\n1 error, 0 warnings\n");
  EXPECT_EQ(CheckWith({{"classic/pers_1.qrb", "limits/pers_1001.qrb"}}).out,
            "classic/pers_1.qrb:11: error: more than 1000 persons\n1 error, 0 warnings\n");
  EXPECT_EQ(CheckWith({{"classic/ottens_1.qrb", "limits/ottens_101groups.qrb"}}).out,
            "classic/ottens_1.qrb:501: error: more than 100 shade groups apply at absurdity level 1\n"
            "classic/ottens_1.qrb:501: error: more than 100 shade groups apply at absurdity level 2\n"
            "classic/ottens_1.qrb:501: error: more than 100 shade groups apply at absurdity level 3\n"
            "3 errors, 0 warnings\n");
}

TEST(Checker, BreakMarks) {
  EXPECT_EQ(CheckPhrases("breaks/m_react.qrb").out,
            "classic/m_react.qrb:12: error: \"Пал|ьто\": a part of a word begins with ь, ъ or й\n"
            "classic/m_react.qrb:18: error: \"Ин|спек|то|р\": a single letter left at a line end or carried over\n"
            "classic/m_react.qrb:24: error: \"Встр|еча\": a part of a word without a vowel\n"
            "classic/m_react.qrb:30: error: a blank that is not a \"| |\" gap (allowed only before \"—\"): \"тор "
            "ки\"\n"
            "classic/m_react.qrb:36: error: the text begins with \"|\"\n"
            "classic/m_react.qrb:42: error: two \"|\" in a row\n"
            "classic/m_react.qrb:48: error: a blank that is not a \"| |\" gap (allowed only before \"—\"): \" \"\n"
            "classic/m_react.qrb:60: error: a part of 52 characters, longer than a line of 51\n"
            "classic/m_react.qrb:66: error: an empty text (the paragraph would hold two \"|\" in a row)\n"
            "9 errors, 0 warnings\n");
  EXPECT_EQ(
      CheckWith({{"classic/pers_1.qrb", "breaks/pers_1.qrb"}, {"classic/ottens_1.qrb", "breaks/ottens_1.qrb"}}).out,
      "classic/pers_1.qrb:1: error: \"А|нна\": a single letter left at a line end or carried over\n"
      "classic/pers_1.qrb:10: error: a blank that is not a \"| |\" gap (allowed only before \"—\"): \"р "
      "Иль\"\n"
      "classic/ottens_1.qrb:5: error: \"со|бак|а.\": a single letter left at a line end or carried over\n"
      "3 errors, 0 warnings\n");
}

}  // namespace
