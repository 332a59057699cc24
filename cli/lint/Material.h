#pragma once
// What the linter reads: phrase records and question lines as the reader will see them, split
// into words, with each "_sus"/"_npc" token kept as a person whose gender a rule chooses and each
// "_Z_" as a title word.
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "cli/lint/Lint.h"
#include "cli/lint/Morph.h"
#include "story/Text.h"

namespace quorbel::lint {

struct Token {
  enum Kind { Word, Punct, Dash, Person, Title } kind = Word;
  Text text;   // as written (a person: the token, e.g. "_sus1")
  Text lower;  // lower case, ё kept
};

Text Lower(TextView t);
bool IsUpper(char16_t c);
// Words, punctuation (one mark a token, "..." as one), "—", persons and title words.
std::vector<Token> Tokenize(TextView text);
// A table entry matches the words that begin with it; one ending in "." only that whole word.
bool StemMatches(const Text& stem, const Text& lowerWord);
// Index ranges [first, last) of the sentences of tokens.
std::vector<std::pair<std::size_t, std::size_t>> Sentences(const std::vector<Token>& t);
// The text (UTF-8) with a sample name in place of the persons and a title word for "_Z_".
std::string Show(const std::vector<Token>& t, const Text& person, const Text& title);

struct Record {
  int line = 0;  // the text line
  int conditionsLine = 0;
  Text key, conditions, text, precondition;
  std::set<std::string> silenced;  // rules named by "# ok: rule, rule" on the record's first line
  std::vector<Token> tokens;
  int plan = -1, word = -1;  // the plan and the plan word of the record's group
};

struct Plan {
  int line = 0;
  bool dialogue = false;
  std::vector<Text> keys;
  std::vector<char16_t> flags;
};

struct PhraseFile {
  std::string rel;
  std::set<std::pair<int, int>> plays;  // (theme, variant) of the stories it is played in
  std::vector<Plan> plans;
  std::vector<Record> records;
  // The records of plan p, word w.
  std::vector<const Record*> Group(int p, int w) const;
};

struct QuestionLine {
  std::string rel;
  int line = 0;
  std::vector<Token> tokens;
};

// The style's word table, "lint.txt" beside its phrase files.
struct Requirement {
  std::string field;                          // phase, band, clouds, precip, wind, months, temp
  std::vector<std::pair<long, long>> ranges;  // the allowed values, "4-10,12"
};
struct ConditionWord {
  Text stem;
  std::vector<std::vector<Requirement>> needs;  // alternatives ("|"), each met when all its parts are
  std::string shown;                            // the table line's requirements, for messages
};
// A word that fits only some plot variants or themes: "яд variants=1", "купе themes=2".
struct StoryWord {
  Text stem;
  std::set<int> variants, themes;  // empty: any
  std::string shown;
};
struct WordTable {
  std::vector<ConditionWord> conditions;
  std::vector<StoryWord> story;
  std::set<Text> speech;                     // lemmas of verbs that may open the author's words after a replica
  std::set<Text> words;                      // correct words the dictionary lacks
  std::set<Text> homographs;                 // words right both with е and with ё
  std::vector<std::pair<Text, Text>> pairs;  // "по другую" needs "по одну" in the same file
};

struct Material {
  std::vector<PhraseFile> files;
  std::vector<QuestionLine> questions;
  std::vector<Text> titleWords;
  std::set<Text> names;  // the words of the person names
  Text maleName, femaleName;
  WordTable table;
  Morph morph;
};

// Collects findings; a finding on a record whose first line silences its rule is dropped.
class Sink {
 public:
  explicit Sink(std::vector<Finding>& out) : out_(out) {}
  void Add(const std::string& file, int line, bool error, const std::string& rule, const std::string& message,
           const Record* record = nullptr);

 private:
  std::vector<Finding>& out_;
};

// Whether one story may hold both records: their condition lines and story tokens agree.
bool MayMeet(const Record& a, const Record& b);

// One check function per kind of rule.
void CheckCase(const Material& m, Sink& sink);
void CheckGender(const Material& m, Sink& sink);
void CheckDialogue(const Material& m, Sink& sink);
void CheckConditions(const Material& m, Sink& sink);
void CheckStoryWords(const Material& m, Sink& sink);
void CheckRepetition(const Material& m, Sink& sink);
void CheckYo(const Material& m, Sink& sink);
void CheckSpelling(const Material& m, Sink& sink);

}  // namespace quorbel::lint
