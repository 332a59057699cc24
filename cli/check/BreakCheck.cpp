#include "cli/check/Check.h"

#include <algorithm>

namespace quorbel::cli::check {

void Checker::CheckBreaks(const std::string& rel, int line, TextView text) {
  if (text.empty()) return;
  if (text.front() == u'|') Error(rel, line, "the text begins with \"|\"");
  if (text.back() == u'|') Error(rel, line, "the text ends with \"|\"");
  if (Contains(text, u"||")) Error(rel, line, "two \"|\" in a row");
  std::vector<TextView> parts;
  std::size_t start = 0;
  while (true) {
    std::size_t bar = text.find(u'|', start);
    parts.push_back(text.substr(start, bar == TextView::npos ? TextView::npos : bar - start));
    if (bar == TextView::npos) break;
    start = bar + 1;
  }
  bool blank = false, longPart = false, softStart = false, single = false, noVowel = false;
  std::vector<TextView> word;
  auto wordText = [&] {
    std::string w;
    for (std::size_t k = 0; k < word.size(); ++k) w += (k ? "|" : "") + U8(word[k]);
    return "\"" + w + "\"";
  };
  auto endWord = [&] {
    if (word.size() >= 2) {
      for (std::size_t k = 0; k < word.size(); ++k) {
        TextView part = word[k];
        int letters = static_cast<int>(std::count_if(part.begin(), part.end(), IsLetter));
        if (k > 0 && !softStart && !part.empty() && TextView(u"ьъйЬЪЙ").find(part[0]) != TextView::npos) {
          Error(rel, line, wordText() + ": a part of a word begins with ь, ъ or й");
          softStart = true;
        }
        if (letters == 1) {
          if (!single) Error(rel, line, wordText() + ": a single letter left at a line end or carried over");
          single = true;
        } else if (!noVowel && std::none_of(part.begin(), part.end(), [](char16_t c) { return IsVowel(c, true); })) {
          Error(rel, line, wordText() + ": a part of a word without a vowel");
          noVowel = true;
        }
      }
    }
    word.clear();
  };
  for (std::size_t k = 0; k < parts.size(); ++k) {
    TextView part = parts[k];
    if (part == u" " && k > 0 && k + 1 < parts.size()) {
      endWord();
      continue;
    }
    // An empty part (a "|" at an end or doubled) was reported above; it splits no word.
    if (part.find_first_not_of(u' ') == TextView::npos) {
      endWord();
      if (!blank && !part.empty()) {
        Error(rel, line, "a blank that is not a \"| |\" gap (allowed only before \"—\"): " + Quoted(part));
        blank = true;
      }
      continue;
    }
    if (!longPart && part.size() > 51) {
      Error(rel, line, "a part of " + std::to_string(part.size()) + " characters, longer than a line of 51");
      longPart = true;
    }
    for (std::size_t c = 0; c < part.size() && !blank; ++c)
      if (part[c] == u' ' && (c + 1 >= part.size() || part[c + 1] != u'—')) {
        Error(rel, line, "a blank that is not a \"| |\" gap (allowed only before \"—\"): " + Quoted(part));
        blank = true;
      }
    word.push_back(part);
  }
  endWord();
}

}  // namespace quorbel::cli::check
