#pragma once
// The catalogue, title-word, person, variant, shade and question files as read once: every item with the line it was
// read from, and the fault the reading met, if any. The story and the checker both work on these
// models, so the two never disagree on what a file holds. A parse never throws: the fault is kept
// and met where the reading reaches it.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "story/StoryState.h"
#include "story/TextFile.h"

namespace quorbel {

// The file-name stems of the style's and the theme's files: STEM_STYLE.qrb, STEM_THEME_VARIANT.qrb.
namespace stem {
constexpr const char16_t* kWords = u"words_";
constexpr const char16_t* kPersons = u"pers_";
constexpr const char16_t* kVariants = u"var_";
constexpr const char16_t* kShades = u"ottens_";
constexpr const char16_t* kQuestions = u"qst_";
constexpr const char16_t* kOpening = u"ncl_";
constexpr const char16_t* kMain = u"osn_";
constexpr const char16_t* kFinal = u"fin_";
}  // namespace stem
// True when the file name (UTF-8, without its folder) begins with the stem.
bool HasStem(std::string_view name, const char16_t* stem);
constexpr const char16_t* kStyleCatalogue = u"styles.qrb";
constexpr const char16_t* kThemeCatalogue = u"themes.qrb";
// The questions a theme file holds: four for each absurdity level.
constexpr int kQuestionsPerLevel = 4;
constexpr int kQuestionCount = kQuestionsPerLevel * setting::kRules[setting::Absurdity].last;

// A field or line as read, with its line.
struct Item {
  int line = 0;
  Text text;
};

// What stopped the reading: the error, the line of the record it cut short, and whether it is
// the end of the file (rather than a malformed field).
struct ReadFault {
  DataError error;
  int recordLine = 0;
  bool atEnd = false;
};

// styles.qrb: pairs of lines, the style's folder and its display name.
struct StyleEntry {
  int line = 0;  // the folder's line; the name is on the next
  Text folder;
  Text displayName;
};
struct StyleCatalogue {
  std::string name;
  int lineCount = 0;
  std::vector<StyleEntry> styles;  // whole pairs only
  bool oddLine = false;            // the last folder has no display name
};
StyleCatalogue ParseStyleCatalogue(InputFile& f);
std::shared_ptr<const StyleCatalogue> OpenStyleCatalogue(const DataDir& dir);
// What a reader of the catalogue meets at its odd last line: the display name is missing.
DataError MissingStyleName(const StyleCatalogue& m);

// A file of one item a line: themes.qrb (a theme's title a line, "_Z_" where the title word
// goes) and words_N.qrb (a title word a line).
struct LineFile {
  std::string name;
  std::vector<Item> lines;
};
LineFile ParseLineFile(InputFile& f);
// The themes of the style in styleFolder (with or without its closing "/").
std::shared_ptr<const LineFile> OpenThemeCatalogue(const DataDir& dir, TextView styleFolder);
std::shared_ptr<const LineFile> OpenTitleWords(const DataDir& dir, TextView relName);

// pers_N.qrb: comma-separated person entries, each a name form with break marks and a code
// character at its end.
struct PersonFile {
  std::string name;
  std::vector<Item> persons;
  std::optional<ReadFault> fault;
};
PersonFile ParsePersonFile(InputFile& f);
std::shared_ptr<const PersonFile> OpenPersonFile(const DataDir& dir, TextView relName);

// var_N.qrb: a note line and a weight field for each plot variant.
struct Variant {
  int line = 0;  // the note's line
  Text note;
  int weightLine = 0;
  Text weightText;
  Long weight = 0;  // as the story reads it
};
struct VariantFile {
  std::string name;
  std::vector<Variant> variants;
  std::optional<ReadFault> fault;
};
VariantFile ParseVariantFile(InputFile& f);
std::shared_ptr<const VariantFile> OpenVariantFile(const DataDir& dir, TextView relName);

// ottens_N.qrb: groups of a level field, a title line, a shuffle flag field and shade lines up
// to an empty line.
struct ShadeGroup {
  int line = 0;  // the level's line
  Text levelText;
  Long level = 0;
  int titleLine = 0;
  Text title;
  int flagLine = 0;
  Text flagText;
  Long flag = 0;
  std::vector<Item> lines;
};
struct ShadeFile {
  std::string name;
  std::vector<ShadeGroup> groups;
  std::optional<ReadFault> fault;
};
ShadeFile ParseShadeFile(InputFile& f);
std::shared_ptr<const ShadeFile> OpenShadeFile(const DataDir& dir, TextView relName);

// qst_T_V.qrb: kQuestionsPerLevel question lines for each absurdity level, the levels in order.
struct QuestionFile {
  std::string name;
  std::vector<Item> questions;  // every line, also past the last level's
  // Set when the file holds fewer than kQuestionCount lines: what the read of the first missing
  // line meets.
  std::optional<ReadFault> fault;
};
QuestionFile ParseQuestionFile(InputFile& f);
std::shared_ptr<const QuestionFile> OpenQuestionFile(const DataDir& dir, TextView relName);

}  // namespace quorbel
