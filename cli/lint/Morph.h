#pragma once
// Russian morphology from the Apertium analyser (lt-proc over rus-ukr.automorf.bin): the lemma
// and the tags of every reading of a word.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "story/Text.h"

namespace quorbel::lint {

struct Reading {
  Text lemma;
  std::string tags;  // "<vblex><impf><iv><past><f><sg>"
  bool Has(const char* tag) const { return tags.find(std::string("<") + tag + ">") != std::string::npos; }
};

class Morph {
 public:
  // Analyses all words (lower case) in one run of the analyser. Without the analyser,
  // Available() is false and every word has no reading.
  void Analyse(const std::set<Text>& words);
  bool Available() const { return available_; }
  const std::vector<Reading>& Of(const Text& lowerWord) const;

 private:
  bool available_ = false;
  std::map<Text, std::vector<Reading>> readings_;
};

}  // namespace quorbel::lint
