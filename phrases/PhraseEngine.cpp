#include "phrases/PhraseEngine.h"

#include <algorithm>
#include <string>
#include <vector>

#include "phrases/Eligibility.h"
#include "phrases/Finishing.h"
#include "phrases/TextPieces.h"
#include "phrases/Tokens.h"

namespace quorbel {
namespace {

using phrases::DateWindow;
using phrases::ParagraphPlan;
using phrases::TimeWindow;

// One plan line: kind, ignored character, words up to the first "|", closing mode up to the
// second, level after it.
struct Plan {
  Text kind;
  Text initial;  // the third character of the line: every key of the plan begins with it
  std::vector<Text> words;
  Text closingMode;
  Text level;
};

struct PhraseRecord {
  int line = 0;  // file line of the record's first line
  Text key, conditions, text, precondition, fact;
};

struct Candidate {
  Text text;
  Text fact;
  int textLine = 0;
  int factLine = 0;
  int keyLine = 0;
};

struct Appended {
  Text text;
  int line = 0;
};

Text KeyOf(TextView word) { return phrases::AllButLast(word); }
Text FirstChar(TextView text) { return Text(text.substr(0, 1)); }

Plan ParsePlan(const InputFile& file, TextView line, int lineNo) {
  auto fail = [&](const std::string& problem) -> Plan { throw DataError(file.name(), lineNo, problem); };
  Plan plan;
  plan.kind = FirstChar(line);
  TextView rest = phrases::MidToEnd(line, 3);
  plan.initial = FirstChar(rest);
  std::size_t bar1 = rest.find(u'|');
  std::size_t bar2 = bar1 == TextView::npos ? TextView::npos : rest.find(u'|', bar1 + 1);
  if (bar2 == TextView::npos) return fail("a plan line without two \"|\"");
  TextView wordList = rest.substr(0, bar1);
  plan.closingMode = Text(rest.substr(bar1 + 1, bar2 - bar1 - 1));
  plan.level = Text(rest.substr(bar2 + 1));
  std::size_t start = 0;
  while (true) {
    std::size_t blank = wordList.find(u' ', start);
    TextView word = wordList.substr(start, blank == TextView::npos ? TextView::npos : blank - start);
    if (word.empty()) return fail("an empty plan word");
    if (plan.words.size() == static_cast<std::size_t>(kMaxPlanWords)) return fail("more than 50 words in a plan line");
    plan.words.emplace_back(word);
    if (blank == TextView::npos) break;
    start = blank + 1;
  }
  return plan;
}

class PhraseFileWalk {
 public:
  PhraseFileWalk(StoryState& s, Random& rng, InputFile& file) : s_(s), rng_(rng), file_(file) {}

  void Run() {
    ReadPlans();
    // The registers of the walk, as the selection rules name them.
    std::size_t planIndex = 1;
    std::size_t wordIndex = 1;
    Text currentKind = u"0";
    Text previousKind;
    Text closingMode;
    Text level;

    int previousKeyLine = 0;

    while (!AtEnd()) {
      if (planIndex > plans_.size()) Fail(previousKeyLine, "a key that belongs to no remaining plan");
      const Plan& plan = plans_[planIndex - 1];
      previousKind = currentKind;
      currentKind = plan.kind;
      closingMode = plan.closingMode;
      level = plan.level;

      PhraseRecord rec = ReadRecord();
      const int keyLine = rec.line + 1;
      // Only a record carried past the plan's last word gets here: its key was no word of the plan.
      if (wordIndex > plan.words.size()) Fail(previousKeyLine, "a key that belongs to no word of its plan");
      const bool counted = KeyOf(plan.words[wordIndex - 1]) == rec.key;
      if (counted && phrases::IsEligible(s_, rec.conditions, rec.precondition, level, TimeWindow::Strict, window_))
        AddCandidate(rec);

      const bool atEnd = AtEnd();
      const bool planChanges = FirstChar(rec.key) != plan.initial;
      if (!counted || atEnd) {
        ++wordIndex;
        if (!candidates_.empty()) ChooseFor(plan.words[wordIndex - 2]);
        if (planChanges) {
          // The record already belongs to the next plan: its kind and level apply from here on.
          if (planIndex + 1 > plans_.size()) Fail(keyLine, "a key that belongs to no remaining plan");
          const Plan& next = plans_[planIndex];
          previousKind = currentKind;
          currentKind = next.kind;
          level = next.level;
        }
        if (!counted &&
            phrases::IsEligible(s_, rec.conditions, rec.precondition, level, TimeWindow::Inclusive, window_))
          AddCandidate(rec);
      }

      if (planChanges || atEnd) {
        ++planIndex;
        if (!buffer_.empty()) {
          try {
            phrases::FinishParagraph(s_, rng_, buffer_, ParagraphPlan{previousKind, closingMode, level});
          } catch (const phrases::TextLimitError& e) {
            throw DataError(file_.name(), 0, e.what());
          }
          buffer_.clear();
          appended_.clear();
        }
        wordIndex = 1;
      }
      previousKeyLine = keyLine;
    }
  }

 private:
  [[noreturn]] void Fail(int line, const std::string& problem) const { throw DataError(file_.name(), line, problem); }

  // The end of the file; a few empty lines after the last record count as its end too.
  bool AtEnd() const {
    const auto& lines = file_.lines();
    std::size_t next = static_cast<std::size_t>(file_.LineNumber() - 1);
    if (next >= lines.size()) return true;
    if (lines.size() - next >= 6) return false;
    return std::all_of(lines.begin() + static_cast<std::ptrdiff_t>(next), lines.end(),
                       [](const Text& l) { return l.empty(); });
  }

  void ReadPlans() {
    while (true) {
      if (file_.Eof()) Fail(file_.LineNumber(), "the plan lines are not followed by an empty line");
      const int lineNo = file_.LineNumber();
      Text line = file_.ReadLine();
      if (line.empty()) break;
      if (plans_.size() == static_cast<std::size_t>(kMaxPlans)) Fail(lineNo, "more than 100 plan lines");
      plans_.push_back(ParsePlan(file_, line, lineNo));
    }
    if (plans_.empty()) Fail(1, "a phrase file without plan lines");
  }

  PhraseRecord ReadRecord() {
    PhraseRecord rec;
    rec.line = file_.LineNumber();
    if (file_.LineCount() - rec.line + 1 < 6) Fail(rec.line, "a phrase record cut short by the end of the file");
    file_.ReadLine();
    rec.key = file_.ReadLine();
    rec.conditions = file_.ReadLine();
    rec.text = file_.ReadLine();
    rec.precondition = file_.ReadLine();
    rec.fact = file_.ReadLine();
    return rec;
  }

  void AddCandidate(const PhraseRecord& rec) {
    if (candidates_.size() == static_cast<std::size_t>(kMaxCandidates))
      Fail(rec.line + 1, "more than 1000 phrases in one group");
    candidates_.push_back(Candidate{rec.text, rec.fact, rec.line + 3, rec.line + 5, rec.line + 1});
    if (s_.observer) s_.observer->Eligible(file_.name(), rec.line + 1);
  }

  // The group of word is complete: the pick, the roll drawn whatever the flag, the tokens, and
  // the fact, which stands whether or not the text was added.
  void ChooseFor(TextView word) {
    const Long count = static_cast<Long>(candidates_.size());
    const Long chosen = std::clamp<Long>(Int(count * rng_.Rnd()) + 1, 1, count);
    const Candidate c = candidates_[static_cast<std::size_t>(chosen - 1)];
    if (s_.observer) s_.observer->Chosen(file_.name(), c.keyLine);
    const char16_t flag = word.back();
    if (flag == u'1') Append(c);
    const Long roll = Int(rng_.Rnd() * 100);
    if (flag == u'0' && roll < 50) Append(c);
    try {
      phrases::SubstituteTokens(s_, rng_, buffer_);
    } catch (const phrases::TokenError& e) {
      int line = c.textLine;
      for (const Appended& a : appended_)
        if (phrases::HasUnclosedCall(a.text)) {
          line = a.line;
          break;
        }
      Fail(line, e.what());
    }
    RecordFact(c);
    candidates_.clear();
  }

  void Append(const Candidate& c) {
    buffer_ += c.text;
    buffer_ += u"| |";
    appended_.push_back(Appended{c.text, c.textLine});
  }

  void RecordFact(const Candidate& c) {
    if (c.fact.empty()) return;
    const Long count = std::clamp<Long>(s_.factCount, 0, kMaxFacts);
    for (Long i = 1; i <= count; ++i)
      if (s_.facts[static_cast<std::size_t>(i)] == c.fact) return;
    if (count == kMaxFacts) Fail(c.factLine, "more than 1000 facts");
    s_.facts[static_cast<std::size_t>(count + 1)] = c.fact;
    s_.factCount = count + 1;
  }

  StoryState& s_;
  Random& rng_;
  InputFile& file_;
  std::vector<Plan> plans_;
  std::vector<Candidate> candidates_;
  std::vector<Appended> appended_;  // the phrases of the paragraph, to name a faulty one's line
  Text buffer_;
  DateWindow window_;
};

}  // namespace

void RenderPhraseFile(StoryState& s, Random& rng, const DataDir& dir) {
  InputFile file = dir.Open(s.styleFolder + s.recPhraseFile + u".qrb");
  if (s.observer) s.observer->FileOpened(file.name());
  PhraseFileWalk(s, rng, file).Run();
}

}  // namespace quorbel
