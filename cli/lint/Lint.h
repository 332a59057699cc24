#pragma once
// The language linter: reads a style's phrase and question files as the reader will see them
// (names and title words put in place of their tokens) and reports what an editor would mend.
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "story/TextFile.h"

namespace quorbel::lint {

struct Finding {
  std::string file;
  int line = 0;
  bool error = false;
  std::string message;  // begins with the rule name in brackets, e.g. "[case] ..."
};

// For each phrase file, the (theme, variant) pairs whose episode files play it.
using Uses = std::map<std::string, std::set<std::pair<int, int>>>;

// Lints the phrase files of one style (paths relative to dir, in the order the episode files
// name them) with its persons, title words, questions and the style's word table "lint.txt".
void LintStyle(const DataDir& dir, const std::string& folder, int number,
               const std::vector<std::string>& phraseFiles, const Uses& uses, std::vector<Finding>& out);

}  // namespace quorbel::lint
