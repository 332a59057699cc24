// The material converter: break marks in phrase, person and shade lines, the Windows-1251 output,
// and the committed data folder kept in step with its sources.
#include <gtest/gtest.h>

#ifdef QUORBEL_NO_HYPHEN

TEST(Material, NeedsLibhyphen) { GTEST_SKIP() << "libhyphen with the Russian patterns is not installed"; }

#else

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "tools/MarkText.h"

namespace quorbel::material {
namespace {

namespace fs = std::filesystem;

const Hyphenator& Hyph() {
  static const Hyphenator hyph;
  return hyph;
}

// Marks a line and expects no problem.
std::string Marked(const char* utf8) {
  std::vector<std::string> problems;
  Text out = MarkText(Hyph(), T(utf8), problems);
  EXPECT_TRUE(problems.empty()) << utf8 << ": " << (problems.empty() ? "" : problems.front());
  return ToUtf8(out);
}

std::vector<std::string> ProblemsOf(const char* utf8, bool person = false) {
  std::vector<std::string> problems;
  if (person)
    MarkPersonLine(Hyph(), T(utf8), problems);
  else
    MarkText(Hyph(), T(utf8), problems);
  return problems;
}

std::string MarkedPerson(const char* utf8) {
  std::vector<std::string> problems;
  Text out = MarkPersonLine(Hyph(), T(utf8), problems);
  EXPECT_TRUE(problems.empty()) << utf8 << ": " << (problems.empty() ? "" : problems.front());
  return ToUtf8(out);
}

std::vector<Text> Lines(std::initializer_list<const char*> utf8) {
  std::vector<Text> out;
  for (const char* s : utf8) out.push_back(T(s));
  return out;
}

std::string ReadBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& p, const std::string& bytes) {
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << bytes;
}

class TempDir {
 public:
  explicit TempDir(const std::string& tag)
      : path_(fs::temp_directory_path() / ("quorbel-" + tag + "-" + std::to_string(::getpid()))) {
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

TEST(MarkText, BlanksBecomeBreaksAndWordsGetThePatternsPoints) {
  EXPECT_EQ(Marked("Инспектор смотрит в окно."), "Ин|спек|тор| |смот|рит| |в| |окно.");
  // The blank before a dash cannot break, so no line ever begins with the dash.
  EXPECT_EQ(Marked("Вы опоздали, — говорит _npc2, не поднимая глаз."),
            "Вы| |опоз|да|ли, —| |гово|рит| |_npc2,| |не| |под|нимая| |глаз.");
  EXPECT_EQ(Marked("— Где окно?"), "—| |Где| |окно?");
}

TEST(MarkText, TokensStayWholeEvenWithABlankInsideATitle) {
  EXPECT_EQ(Marked("Тишина. _call(старые часы)1 Калитка скрипит."),
            "Тиши|на.| |_call(старые часы)1| |Ка|лит|ка| |скрипит.");
  EXPECT_EQ(Marked("«_Z_», _sus1 и _npc0."), "«_Z_»,| |_sus1| |и| |_npc0.");
}

TEST(MarkText, PointsThatBreakTheRulesAreMovedOrDropped) {
  // The raw points first, so each case below really exercises its rule.
  EXPECT_EQ(Hyph().Points(u"прийти"), (std::vector<std::size_t>{3}));          // при|йти
  EXPECT_EQ(Hyph().Points(u"прокрасться"), (std::vector<std::size_t>{7, 9}));  // прокрас|ть|ся
  EXPECT_EQ(Hyph().Points(u"искра"), (std::vector<std::size_t>{2, 3}));        // ис|к|ра
  // No part begins with й (nor ь, ъ): the point moves past it.
  EXPECT_EQ(Marked("Прийти"), "Прий|ти");
  // Every part has a vowel and at least two letters.
  EXPECT_EQ(Marked("прокрасться"), "прокрасть|ся");
  EXPECT_EQ(Marked("искра"), "ис|кра");
  // A word of four letters or fewer is not broken at all.
  EXPECT_EQ(Marked("окно Доев"), "окно| |Доев");
  // ё hyphenates like е.
  EXPECT_EQ(Marked("придётся"), "при|дёт|ся");
  // The consonant before a suffix cluster stays on the line.
  EXPECT_EQ(Marked("медицинскими согласиться Войцеховская"),
            "меди|цин|ски|ми| |согла|сить|ся| |Вой|цехов|ская");
  // A sonorant before a consonant stays with its vowel, except after a prefix; "полчаса" is not
  // broken after "пол".
  EXPECT_EQ(Marked("пенсионерка понемногу полчаса"), "пен|си|онер|ка| |поне|многу| |полча|са");
  // A compound breaks only at its hyphen, and not beside a short part or a particle; a word with
  // Latin letters or digits stays whole.
  EXPECT_EQ(Marked("кто-нибудь Бублик-Задунайский из-за окно7 Okno"),
            "кто-нибудь| |Бублик-|Задунайский| |из-за| |окно7| |Okno");
}

TEST(MarkText, HandWrittenMarksAndMalformedLinesAreReported) {
  EXPECT_EQ(ProblemsOf("Ок|но."),
            (std::vector<std::string>{"a \"|\" written by hand (the converter places the break marks)"}));
  EXPECT_EQ(ProblemsOf("Два  пробела."), (std::vector<std::string>{"two blanks in a row"}));
  EXPECT_EQ(ProblemsOf("Окно. "), (std::vector<std::string>{"a blank at the start or the end of the text"}));
  EXPECT_EQ(ProblemsOf("_npcА молчит."), (std::vector<std::string>{"the token \"_npc\" lacks its digit"}));
  EXPECT_EQ(ProblemsOf("Тишина. _call(звуки"),
            (std::vector<std::string>{"an unfinished \"_call\" token (it reads \"_call(title)1\")"}));
}

TEST(MarkPersonLine, NamesAreMarkedAndTheCodeStaysGluedToTheEnd) {
  EXPECT_EQ(MarkedPerson("Аркадий Лунинм"), "Ар|кадий| |Лу|нинм");
  EXPECT_EQ(MarkedPerson("доктор Бергм, \"мадам Ружеж\",  Лидия Сомоваж"),
            "доктор| |Бергм, \"ма|дам| |Ружеж\",  Лидия| |Со|мо|важ");
  EXPECT_EQ(ProblemsOf("Анна Ланская", true),
            (std::vector<std::string>{"the person entry \"Анна Ланская\" does not end with the gender code \"м\" or \"ж\""}));
  EXPECT_EQ(ProblemsOf("Аркадий Лунин м", true),
            (std::vector<std::string>{"the gender code of \"Аркадий Лунин м\" must follow the name directly"}));
  EXPECT_EQ(ProblemsOf("Аркадий Лунинм,", true), (std::vector<std::string>{"an empty person entry"}));
  EXPECT_EQ(ProblemsOf("", true),
            (std::vector<std::string>{"an empty line (it would be read as an empty person entry)"}));
}

TEST(KindOf, TheStyleFoldersFilesAreTellByTheirPrefix) {
  EXPECT_EQ(KindOf("classic/n_arrival.qrb"), SourceKind::Phrases);
  EXPECT_EQ(KindOf("classic/m2_1_3.qrb"), SourceKind::Phrases);
  EXPECT_EQ(KindOf("classic/pers_1.qrb"), SourceKind::Persons);
  EXPECT_EQ(KindOf("classic/ottens_1.qrb"), SourceKind::Shades);
  for (const char* plain : {"classic/themes.qrb", "classic/words_1.qrb", "classic/var_1.qrb", "classic/qst_1_2.qrb",
                            "classic/ncl_1_1.qrb", "classic/osn_4_2.qrb", "classic/fin_3_1.qrb", "styles.qrb",
                            "quorbel.cfg"})
    EXPECT_EQ(KindOf(plain), SourceKind::Plain) << plain;
  EXPECT_EQ(KindOf("Letters/7.gif"), SourceKind::Binary);
}

TEST(ConvertLines, OnlyTheTextLineOfEachPhraseRecordIsMarked) {
  const char* cond = "01013112 00 00 00 00 00 -50 50";
  std::vector<ConvertError> errors;
  auto out = ConvertLines(Hyph(), SourceKind::Phrases,
                          Lines({"0 aa1 ab0|1|0", "", "#", "aa", cond, "Инспектор смотрит в окно.", "", "начало",
                                 "# окно", "ab", cond, "Тишина.", "_absd_(3)", ""}),
                          "n_test.qrb", errors);
  EXPECT_TRUE(errors.empty());
  // The last word of a text, which may end its paragraph, leaves no scrap of under four letters.
  EXPECT_EQ(out, Lines({"0 aa1 ab0|1|0", "", "#", "aa", cond, "Ин|спек|тор| |смот|рит| |в| |окно.", "", "начало",
                        "# окно", "ab", cond, "Тишина.", "_absd_(3)", ""}));

  // A last record that stops after its precondition gets its empty fact line.
  out = ConvertLines(Hyph(), SourceKind::Phrases, Lines({"0 aa1|1|0", "", "#", "aa", cond, "Окно.", "_absd_(3)"}),
                     "n_short.qrb", errors);
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(out, Lines({"0 aa1|1|0", "", "#", "aa", cond, "Окно.", "_absd_(3)", ""}));

  ConvertLines(Hyph(), SourceKind::Phrases, Lines({"0 aa1|1|0", "", "#", "aa", cond, "Ок|но."}), "n_cut.qrb", errors);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].Format(), "n_cut.qrb:6: the file ends in the middle of a record (records are six lines each)");

  errors.clear();
  ConvertLines(Hyph(), SourceKind::Phrases,
               Lines({"0 aa1 ab0|1|0", "", "#", "aa", cond, "Ок|но.", "", "", "#", "ab", "01013112 00 00 00 00 00-50 50",
                      "Окно.", "", ""}),
               "n_hand.qrb", errors);
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0].Format(), "n_hand.qrb:6: a \"|\" written by hand (the converter places the break marks)");
  EXPECT_EQ(errors[1].Format(), "n_hand.qrb:11: the conditions line has 29 characters, not 30");
}

TEST(ConvertLines, ShadeLinesAreMarkedAndGroupHeadersKept) {
  std::vector<ConvertError> errors;
  auto out = ConvertLines(Hyph(), SourceKind::Shades,
                          Lines({"0", "звуки", "1", "Калитка скрипит.", "Тишина.", "", "3", "деталь", "1",
                                 "Книга на столе."}),
                          "ottens_1.qrb", errors);
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(out, Lines({"0", "звуки", "1", "Ка|лит|ка| |скрипит.", "Тишина.", "", "3", "деталь", "1",
                        "Книга| |на| |столе."}));

  ConvertLines(Hyph(), SourceKind::Shades, Lines({"0", "звуки", "1", "Тишина.", "", "", "1", "мысль", "1"}),
               "ottens_2.qrb", errors);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].Format(), "ottens_2.qrb:6: an empty line where a group's level belongs");
}

TEST(ConvertLines, PlainFilesAreCopiedLineByLineButMayNotEndWithAnEmptyLine) {
  std::vector<ConvertError> errors;
  auto in = Lines({"Загадка усадьбы «_Z_»", "Ночной экспресс"});
  EXPECT_EQ(ConvertLines(Hyph(), SourceKind::Plain, in, "themes.qrb", errors), in);
  EXPECT_TRUE(errors.empty());
  ConvertLines(Hyph(), SourceKind::Plain, Lines({"Три липы", ""}), "words_1.qrb", errors);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].Format(), "words_1.qrb:2: an empty line at the end of the file");
}

TEST(SourceLines, Utf8LinesAreCheckedForWhatWindows1251CanHold) {
  std::vector<ConvertError> errors;
  auto lines = SourceLines("\xEF\xBB\xBFперв\r\nвтор\xE2\x86\x92\n\n\xD0\n", "x.qrb", errors);
  EXPECT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], u"перв");
  EXPECT_EQ(lines[2], u"");
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0].Format(), "x.qrb:2: a character Windows-1251 cannot hold: \"→\" (U+2192)");
  EXPECT_EQ(errors[1].Format(), "x.qrb:4: malformed UTF-8 (the sources are UTF-8)");
}

TEST(ConvertTree, WritesWindows1251WithCrLfCopiesPicturesAndSkipsFilesWithErrors) {
  TempDir src("material-src"), out("material-out");
  const std::string gif("GIF89a\x01\x00\x01\x00\x00\xff", 12);
  WriteBytes(src.path() / "styles.qrb", "classic\nКлассический детектив\n");
  WriteBytes(src.path() / "Letters/3.gif", gif);
  WriteBytes(src.path() / "classic/pers_1.qrb", "Аркадий Лунинм\n");
  WriteBytes(src.path() / "classic/n_bad.qrb", "0 aa1|1|0\n\n#\naa\n01013112 00 00 00 00 00 -50 50\nОк|но.\n\n\n");
  WriteBytes(src.path() / "classic/words_1.qrb", "Три липы\nБелая →цапля\n");

  std::vector<ConvertError> errors;
  TreeStats stats = ConvertTree(Hyph(), src.path(), out.path(), errors);
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0].Format(), (src.path() / "classic/n_bad.qrb").generic_string() +
                                    ":6: a \"|\" written by hand (the converter places the break marks)");
  EXPECT_EQ(errors[1].Format(), (src.path() / "classic/words_1.qrb").generic_string() +
                                    ":2: a character Windows-1251 cannot hold: \"→\" (U+2192)");
  EXPECT_EQ(stats.converted, 2);
  EXPECT_EQ(stats.copied, 1);
  EXPECT_EQ(ReadBytes(out.path() / "styles.qrb"), "classic\r\n" + *EncodeCp1251(T("Классический детектив")) + "\r\n");
  EXPECT_EQ(ReadBytes(out.path() / "classic/pers_1.qrb"), *EncodeCp1251(T("Ар|кадий| |Лу|нинм")) + "\r\n");
  EXPECT_EQ(ReadBytes(out.path() / "Letters/3.gif"), gif);
  EXPECT_FALSE(fs::exists(out.path() / "classic/n_bad.qrb"));
  EXPECT_FALSE(fs::exists(out.path() / "classic/words_1.qrb"));

  // A second run finds everything in place.
  errors.clear();
  stats = ConvertTree(Hyph(), src.path(), out.path(), errors);
  EXPECT_EQ(stats.unchanged, 3);
}

// data/ is what the converter makes of material/, byte for byte, and holds nothing else.
TEST(Data, IsUpToDateWithTheMaterialSources) {
  const fs::path material = fs::path(QUORBEL_SOURCE_DIR) / "material";
  const fs::path data = fs::path(QUORBEL_SOURCE_DIR) / "data";
  ASSERT_TRUE(fs::is_directory(material));
  TempDir out("material-data");
  std::vector<ConvertError> errors;
  ConvertTree(Hyph(), material, out.path(), errors);
  for (const auto& e : errors) ADD_FAILURE() << e.Format();

  auto filesUnder = [](const fs::path& root) {
    std::set<fs::path> files;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
      std::string name = it->path().filename().string();
      if (name.starts_with(".")) {
        if (it->is_directory()) it.disable_recursion_pending();
        continue;
      }
      if (it->is_regular_file()) files.insert(fs::relative(it->path(), root));
    }
    return files;
  };
  const auto built = filesUnder(out.path());
  const auto committed = filesUnder(data);
  for (const auto& rel : built) {
    if (!committed.count(rel))
      ADD_FAILURE() << "data/" << rel.generic_string() << " is missing (run quorbel-material material data)";
    else if (ReadBytes(out.path() / rel) != ReadBytes(data / rel))
      ADD_FAILURE() << "data/" << rel.generic_string() << " is out of date (run quorbel-material material data)";
  }
  for (const auto& rel : committed)
    if (!built.count(rel)) ADD_FAILURE() << "data/" << rel.generic_string() << " has no source under material/";
}

}  // namespace
}  // namespace quorbel::material

#endif
