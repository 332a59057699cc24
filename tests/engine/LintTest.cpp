// The language linter over one small style: each rule on a fixture of its own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempMaterial.h"
#include "cli/lint/Lint.h"

namespace quorbel {
namespace {

const char* const kTable =
    "[conditions]\n"
    "солнц phase=3-11 clouds=1-2\n"
    "[story]\n"
    "яд variants=1\n"
    "[speech]\n"
    "говорить спрашивать\n"
    "[homographs]\n"
    "все\n";

// A record of group key, as the phrase files write it.
std::string Rec(const std::string& key, const std::string& text, const std::string& first = "#",
                const std::string& conditions = "01013112 00 00 00 00 00 -50 50") {
  return first + "\n" + key + "\n" + conditions + "\n" + text + "\n\n\n";
}

// Lints a style whose one phrase file holds plans and records; questions go to qst_1_1.qrb.
std::string Lint(const std::string& phrases, const std::string& questions = "", const std::string& shades = "") {
  testing::TempMaterial m;
  m.Write("s/pers_1.qrb", "Пётр Ивановм\nАнна Петроваж\n");
  m.Write("s/words_1.qrb", "Три липы\n");
  m.Write("s/lint.txt", kTable);
  m.Write("s/p.qrb", phrases);
  if (!questions.empty()) m.Write("s/qst_1_1.qrb", questions);
  if (!shades.empty()) m.Write("s/ottens_1.qrb", shades);
  std::vector<lint::Finding> found;
  lint::LintStyle(m.dir(), "s", 1, {"s/p.qrb"}, {{"s/p.qrb", {{1, 1}, {1, 2}}}}, found);
  std::string out;
  for (const auto& f : found)
    out += f.file + ":" + std::to_string(f.line) + (f.error ? ": error: " : ": warning: ") + f.message + "\n";
  return out;
}

TEST(Lint, CaseOfNamesAndTitleWords) {
  EXPECT_EQ(Lint("0 aa1|1|0\n\n" + Rec("aa", "Инспектор идёт к _sus1.") + Rec("aa", "Инспектор видит _sus1.") +
                     Rec("aa", "Инспектор идёт к _sus1.", "# ok: case — so it is meant"),
                 "Кто живёт в «_Z_»?\nКто живёт в усадьбе «_Z_»?\n"),
            "s/p.qrb:6: error: [case] a name after the preposition \"к\" (names have only the nominative: rephrase "
            "so the name is the subject): \"Инспектор идёт к Анна Петрова.\"\n"
            "s/p.qrb:12: warning: [case] a name after the transitive verb \"видит\": if it is the object, it needs "
            "another case: \"Инспектор видит Анна Петрова.\"\n"
            "s/qst_1_1.qrb:1: error: [case] a title word after the preposition \"в\" (put the generic noun between "
            "them: \"в отеле «_Z_»\"): \"Кто живёт в «Три липы»?\"\n");
}

TEST(Lint, GenderOfCastMembers) {
  EXPECT_EQ(Lint("0 aa1|1|0\n\n" + Rec("aa", "_sus1 пришёл.") + Rec("aa", "Инспектор пришёл, и _sus1 ждёт.") +
                 Rec("aa", "Инспектор смотрит собеседнику в глаза.") +
                 Rec("aa", "_sus1 первым встаёт, а _sus2 первым делом пьёт воду за первым же столом.")),
            "s/p.qrb:6: error: [gender] \"пришёл\" is masculine only, and the cast member it may refer to may be a "
            "woman: \"Анна Петрова пришёл.\"\n"
            "s/p.qrb:18: error: [gender] \"собеседнику\" in a scene with a cast member, who may be a woman: "
            "\"Инспектор смотрит собеседнику в глаза.\"\n"
            "s/p.qrb:24: error: [gender] \"первым\" is masculine only, and the cast member it may refer to may be a "
            "woman: \"Анна Петрова первым встаёт, а Анна Петрова первым делом пьёт воду за первым же столом.\"\n");
}

TEST(Lint, Dialogue) {
  // Narration may follow a replica only in a paragraph of its own; the speaker's own words may
  // go on, and ", —" in narration closes an inserted clause. A replica may hand its dash over to
  // the author's words of the next phrase.
  EXPECT_EQ(Lint("1 aa1 ab1|1|0\n1 ba1 bb0|1|0\n1 ca1 cb1|1|0\n0 da1|1|0\n1 ea1 eb1|1|0\n\n" + Rec("aa", "Садитесь,") +
                 Rec("ab", "— инспектор пододвигает стул.") + Rec("ba", "Да, — говорит _sus1.") +
                 Rec("bb", "Спасибо,") + Rec("ca", "Нет, — говорит _sus1, — не так.") + Rec("cb", "Все молчат.") +
                 Rec("cb", "Вы знаете.") + Rec("da", "Деньги, думает инспектор, — старый мотив.") +
                 Rec("ea", "Входите, —") + Rec("eb", "машет _sus1.") + Rec("eb", "говорит _sus1.")),
            "s/p.qrb:16: warning: [dialogue] the author's words after a replica do not begin with a verb of "
            "speech: \"— инспектор пододвигает стул.\"\n"
            "s/p.qrb:28: error: [dialogue] the phrase ends with \",\" and the phrase that finishes it may be left "
            "out: \"Спасибо,\"\n"
            "s/p.qrb:28: warning: [dialogue] narration after a replica and its author's words in a dialogue "
            "paragraph (give it a paragraph of its own): \"Спасибо,\"\n"
            "s/p.qrb:40: warning: [dialogue] narration straight after a replica in a dialogue paragraph reads as "
            "the speaker's words (give it a paragraph of its own): \"Все молчат.\"\n"
            "s/p.qrb:64: warning: [dialogue] the author's words after a replica do not begin with a verb of "
            "speech: \"машет Анна Петрова.\"\n");
}

TEST(Lint, ConditionsTheWordsNeed) {
  EXPECT_EQ(Lint("0 aa1|1|0\n\n" + Rec("aa", "Солнце светит.") +
                 Rec("aa", "Солнце светит.", "#", "01013112 05 00 01 00 00 -50 50") + Rec("aa", "Яд в бокале.") +
                 "#\naa\n01013112 00 00 00 00 00 -50 50\nЯд в бокале.\nотравление\n\n"),
            "s/p.qrb:5: warning: [conditions] \"Солнце\" needs phase=3-11 clouds=1-2, which the condition line "
            "\"01013112 00 00 00 00 00 -50 50\" does not demand\n"
            "s/p.qrb:18: warning: [conditions] \"Яд\" fits only variants=1, and the file is played in theme 1, "
            "variant 2\n");
}

TEST(Lint, AShadeLineFitsAnySceneOfAnyStory) {
  EXPECT_EQ(Lint("0 aa1|1|0\n\n" + Rec("aa", "Тихо."), "",
                 "0\nдеталь\n1\nСолнце светит.\nЯд повсюду.\nТишина, и снова тишина.\n"),
            "s/ottens_1.qrb:4: warning: [conditions] \"Солнце\" needs phase=3-11 clouds=1-2, which the condition "
            "line \"01013112 00 00 00 00 00 -50 50\" does not demand\n"
            "s/ottens_1.qrb:5: warning: [conditions] \"Яд\" fits only variants=1, and the file is played in theme "
            "1, variant 2\n");
}

TEST(Lint, RepetitionAndReference) {
  // "Окно за окном" is a figure; the same noun again a few words on is a slip.
  EXPECT_EQ(Lint("0 aa1 ab1|1|0\n\n" + Rec("aa", "Он входит в дверь.") +
                 Rec("ab", "Окно за окном светится, и окно открыто.")),
            "s/p.qrb:6: warning: [repetition] a paragraph opens with the pronoun \"Он\": whom it means is not "
            "clear: \"Он входит в дверь.\"\n"
            "s/p.qrb:12: warning: [repetition] \"окно\" twice within 10 words: \"Окно за окном светится, и окно "
            "открыто.\"\n");
  // Phrases of two groups meet across a group that may be left out, unless their weather or their
  // quiz token ("_osh1", "_osh2") differs.
  EXPECT_EQ(
      Lint("0 aa1 ab0 ac1|1|0\n\n" + Rec("aa", "Инспектор открывает дверь.", "#", "01013112 00 00 01 00 00 -50 50") +
           "#\naa\n01013112 00 00 00 00 00 -50 50\nДверь закрыта.\n_osh1\n\n" + Rec("ab", "Тихо.") +
           Rec("ac", "За дверью темно.") + "#\nac\n01013112 00 00 04 00 00 -50 50\nДверь скрипит.\n_osh2\n\n"),
      "s/p.qrb:24: warning: [repetition] \"дверью\" echoes \"дверь\" of the phrase at line 6, which may come just "
      "before: \"За дверью темно.\"\n");  // Across the meeting point an echo is heard further than within one phrase.
  EXPECT_EQ(
      Lint("0 aa1 ab1|1|0\n\n" + Rec("aa", "Дверь открыта, и в коридоре слышны шаги, голоса и далёкий смех гостей.") +
           Rec("ab", "За дверью темно.")),
      "s/p.qrb:12: warning: [repetition] \"дверью\" echoes \"Дверь\" of the phrase at line 6, which may come "
      "just before: \"За дверью темно.\"\n");
}

TEST(Lint, YoAndSpelling) {
  EXPECT_EQ(Lint("0 aa1|1|0\n\n" + Rec("aa", "Всё чёрное, все черное.") + Rec("aa", "Инспектор чиатет.")),
            "s/p.qrb:6: error: [yo] \"черное\", which the material elsewhere writes \"чёрное\"\n"
            "s/p.qrb:12: warning: [spelling] \"чиатет\" is not in the dictionary\n");
}

}  // namespace
}  // namespace quorbel
