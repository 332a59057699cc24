#pragma once
// A phrase file as the walk reads it: the plan lines, then six-line records. Parsed once per
// version of the file and kept by the material folder; a malformed file keeps its fault where
// the reading meets it, so a story fails at the same point, with the same message, as before.
#include <optional>
#include <string>
#include <vector>

#include "phrases/Eligibility.h"
#include "story/TextFile.h"

namespace quorbel::phrases {

// One plan line: kind, ignored character, words up to the first "|", closing mode up to the
// second, level after it. A malformed line is read as far as it goes, for the checker.
struct Plan {
  int line = 0;
  bool bars = false;             // the line has its two "|"
  bool emptyWord = false;        // two blanks in a row, or a blank at an end: no word between
  std::optional<Problem> fault;  // what the story fails on in this line
  Text kind;
  Text initial;             // the third character of the line: every key of the plan begins with it
  std::vector<Text> words;  // the words that are not empty
  std::vector<Text> keys;   // each word without its last character (the flag)
  std::vector<int> keyIds;  // each key as its number among the distinct keys of the file
  Text closingMode;
  Text level;
  double levelValue = 0;  // level read as a number
};

// What the walk reads of every record comes first, within the record's first two cache lines: a
// story passes some thousands of records, and most of them only by these.
struct alignas(64) PhraseRecord {
  int line = 0;         // file line of the record's first line
  unsigned tokens = 0;  // the tokens text holds (TokensIn)
  int keyId = 0;        // key as its number among the distinct keys of the file
  RecordConditions parsed;
  Text key;
  Text precondition;
  Text conditions, text, fact;
};

struct Fault {
  int line = 0;
  Problem problem;
};

struct PhraseFile {
  std::string name;
  std::vector<Plan> plans;         // every line up to the first empty one
  std::optional<Fault> planFault;  // the plan lines are malformed: the story reads no record
  // The records after the empty line that ends the plan lines, read also when these are malformed.
  std::vector<PhraseRecord> records;
  // After the last record something is left that is no whole record.
  std::optional<Fault> endFault;
};

PhraseFile ParsePhraseFile(InputFile& file);

// The file's parsed model, kept by dir.
std::shared_ptr<const PhraseFile> OpenPhraseFile(const DataDir& dir, TextView relName);

}  // namespace quorbel::phrases
