#include "cli/check/Check.h"

#include <array>

#include "story/Episodes.h"
#include "story/Numbers.h"
#include "story/StoryState.h"

namespace quorbel::cli::check {

std::optional<std::string> Checker::ReferPhraseFile(Style& s, TextView name, const std::string& from, int line) {
  if (name.empty()) {
    Error(from, line, "no phrase file named");
    return std::nullopt;
  }
  if (auto fault = NameFault(name)) {
    Error(from, line, fault->English());
    return std::nullopt;
  }
  std::string rel = s.folder + "/" + U8(name) + ".qrb";
  if (!Exists(rel)) {
    Error(from, line, "phrase file " + Quoted(FromUtf8(rel)) + " not found");
    return std::nullopt;
  }
  if (s.phraseSeen.insert(rel).second) s.phraseFiles.push_back(rel);
  s.uses[rel].insert(s.playing);
  return rel;
}

void Checker::CheckRange(const std::string& rel, int line, TextView range, const char* what) {
  std::size_t dash = range.find(u'-');
  if (dash == TextView::npos || !AllDigits(range.substr(0, dash)) || !AllDigits(range.substr(dash + 1))) {
    Error(rel, line, std::string(what) + " " + Quoted(range) + " must be two whole numbers lo-hi");
    return;
  }
  if (LenientNumber(range.substr(0, dash)) > LenientNumber(range.substr(dash + 1)))
    Error(rel, line, std::string(what) + " " + Quoted(range) + ": lo is above hi");
}

void Checker::CheckEpisodes(Style& s, const std::string& rel, bool main) {
  auto f = Load(rel);
  if (f->Eof()) Error(rel, 1, "no episode record");
  const EpisodeFile m = ParseEpisodeFile(*f);
  int groups = 0, inGroup = 0, groupLine = 0;
  bool allCertain = true;
  long long key = 0;
  std::set<long long> keysSeen;
  auto closeGroup = [&] {
    if (main && groups > 0 && allCertain && inGroup < 8)
      Warning(rel, groupLine,
              "group " + std::to_string(key) + " has " + std::to_string(inGroup) +
                  " records, all with chance 100: it can run dry before the eighth guess");
  };
  bool ended = false;
  for (const EpisodeText& r : m.written) {
    if (TrailingEmptyLines(*f, r.line, rel)) {
      ended = true;
      break;
    }
    const int start = r.line;
    const Text& keyT = r.group.text;
    const Text& chance = r.chance.text;
    const Text& brk = r.lineBreak.text;
    auto k = WholeNumber(keyT);
    if (!k) Error(rel, start, "the group key " + Quoted(keyT) + " must be a whole number");
    long long thisKey = LenientNumber(keyT);
    if (groups == 0 || thisKey != key) {
      closeGroup();
      ++groups;
      if (groups == kMaxGroups + 1) Error(rel, start, "more than " + std::to_string(kMaxGroups) + " groups");
      if (!keysSeen.insert(thisKey).second)
        Warning(rel, start,
                "group key " + std::to_string(thisKey) + " comes back after another group and starts a new group");
      key = thisKey;
      inGroup = 0;
      groupLine = start;
      allCertain = true;
    }
    if (++inGroup == kMaxGroupRecords + 1)
      Error(rel, start, "more than " + std::to_string(kMaxGroupRecords) + " records in group " + std::to_string(key));
    auto c = WholeNumber(chance);
    if (!c || *c < 0 || *c > 100) Error(rel, r.chance.line, "chance " + Quoted(chance) + " must be 0..100");
    if (!c || *c < 100) allCertain = false;
    if (!WholeNumber(brk)) Error(rel, r.lineBreak.line, "the break " + Quoted(brk) + " must be a whole number");
    auto phrases = ReferPhraseFile(s, r.phraseFile.text, rel, r.phraseFile.line);
    if (phrases && c && *c < 100) s.dropSites.try_emplace(*phrases, DropSite{rel, r.chance.line, *c, main});
    CheckRange(rel, r.days.line, r.days.text, "day range");
    CheckRange(rel, r.minutes.line, r.minutes.text, "minute range");
  }
  if (!ended && m.cut && !TrailingEmptyLines(*f, m.cut->recordLine, rel))
    Error(rel, m.cut->recordLine, "the file ends in the middle of an episode record (seven reads)");
  closeGroup();
}

void Checker::CheckFinals(Style& s, const std::string& rel) {
  auto f = Load(rel);
  const FinalFile m = ParseFinalFile(*f);
  std::array<bool, 4> present{};
  bool ended = false;
  for (const FinalText& r : m.written) {
    if (TrailingEmptyLines(*f, r.line, rel)) {
      ended = true;
      break;
    }
    const Text& kind = r.kind.text;
    auto k = WholeNumber(kind);
    if (!k || *k < 1 || *k > 3)
      Error(rel, r.line, "ending kind " + Quoted(kind) + " must be 1, 2 or 3");
    else
      present[static_cast<std::size_t>(*k)] = true;
    ReferPhraseFile(s, r.phraseFile.text, rel, r.phraseFile.line);
  }
  if (!ended && m.cut && !TrailingEmptyLines(*f, m.cut->recordLine, rel))
    Error(rel, m.cut->recordLine, "the file ends in the middle of a final record (three reads)");
  static const std::array<const char*, 4> names = {"", "a quick win", "a win on guess 8", "a defeat"};
  for (int k = 1; k <= 3; ++k)
    if (!present[static_cast<std::size_t>(k)])
      Error(rel, 1, "no ending of kind " + std::to_string(k) + " (" + names[static_cast<std::size_t>(k)] + ")");
}

}  // namespace quorbel::cli::check
