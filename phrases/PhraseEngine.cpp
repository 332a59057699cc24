#include "phrases/PhraseEngine.h"

#include <algorithm>
#include <string>
#include <vector>

#include "phrases/Eligibility.h"
#include "phrases/Finishing.h"
#include "phrases/PhraseFile.h"
#include "phrases/TextPieces.h"
#include "phrases/Tokens.h"

namespace quorbel {
namespace {

using phrases::DateWindow;
using phrases::ParagraphPlan;
using phrases::Plan;
using phrases::PhraseRecord;
using phrases::TimeWindow;

struct Appended {
  TextView text;
  int line = 0;
};

// Walks the parsed records as the reading of the file went: a fault of the file is met where
// the reading reached it.
class PhraseFileWalk {
 public:
  PhraseFileWalk(StoryState& s, Random& rng, const phrases::PhraseFile& file)
      : s_(s), rng_(rng), file_(file), candidates_(Kept().candidates), appended_(Kept().appended), buffer_(Kept().buffer) {
    candidates_.clear();
    appended_.clear();
    buffer_.clear();
  }

  void Run() {
    if (file_.planFault) Fail(file_.planFault->line, file_.planFault->problem);
    const std::vector<Plan>& plans = file_.plans;
    // The registers of the walk, as the selection rules name them.
    std::size_t planIndex = 1;
    std::size_t wordIndex = 1;
    const Text zero = u"0";
    const Text* currentKind = &zero;
    const Text* previousKind = nullptr;
    const Text* closingMode = nullptr;
    const Plan* levelOf = nullptr;  // the plan whose level applies

    int previousKeyLine = 0;

    while (!AtEnd()) {
      if (planIndex > plans.size()) Fail(previousKeyLine, Problem::Of(ProblemId::NoRemainingPlan));
      const Plan& plan = plans[planIndex - 1];
      previousKind = currentKind;
      currentKind = &plan.kind;
      closingMode = &plan.closingMode;
      levelOf = &plan;

      const PhraseRecord& rec = ReadRecord();
      const int keyLine = rec.line + 1;
      // Only a record carried past the plan's last word gets here: its key was no word of the plan.
      if (wordIndex > plan.words.size()) Fail(previousKeyLine, Problem::Of(ProblemId::NoPlanWord));
      const bool counted = plan.keyIds[wordIndex - 1] == rec.keyId;
      if (counted && phrases::IsEligible(s_, rec.parsed, rec.precondition, levelOf->levelValue, TimeWindow::Strict,
                                         window_))
        AddCandidate(rec);

      const bool atEnd = AtEnd();
      const bool planChanges = TextView(rec.key).substr(0, 1) != plan.initial;  // the key's first character
      if (!counted || atEnd) {
        ++wordIndex;
        if (!candidates_.empty()) ChooseFor(plan.words[wordIndex - 2]);
        if (planChanges) {
          // The record already belongs to the next plan: its kind and level apply from here on.
          if (planIndex + 1 > plans.size()) Fail(keyLine, Problem::Of(ProblemId::NoRemainingPlan));
          const Plan& next = plans[planIndex];
          previousKind = currentKind;
          currentKind = &next.kind;
          levelOf = &next;
        }
        if (!counted && phrases::IsEligible(s_, rec.parsed, rec.precondition, levelOf->levelValue,
                                            TimeWindow::Inclusive, window_))
          AddCandidate(rec);
      }

      if (planChanges || atEnd) {
        ++planIndex;
        if (!buffer_.empty()) {
          try {
            phrases::FinishParagraph(s_, rng_, buffer_, ParagraphPlan{*previousKind, *closingMode, levelOf->level});
          } catch (const phrases::TextLimitError& e) {
            throw DataError(file_.name, 0, e.Reported());
          }
          buffer_.clear();
          scan_ = {};
          appended_.clear();
        }
        wordIndex = 1;
      }
      previousKeyLine = keyLine;
    }
  }

 private:
  [[noreturn]] void Fail(int line, const Problem& problem) const { throw DataError(file_.name, line, problem); }

  // Past the last record, unless something that is no whole record follows it.
  bool AtEnd() const { return next_ >= file_.records.size() && !file_.endFault; }

  const PhraseRecord& ReadRecord() {
    if (next_ >= file_.records.size()) Fail(file_.endFault->line, file_.endFault->problem);
    return file_.records[next_++];
  }

  void AddCandidate(const PhraseRecord& rec) {
    if (candidates_.size() == static_cast<std::size_t>(kMaxCandidates))
      Fail(rec.line + 1, Problem::Of(ProblemId::TooManyPhrases, kMaxCandidates));
    candidates_.push_back(&rec);
    if (s_.observer) s_.observer->Eligible(file_.name, rec.line + 1);
  }

  // The group of word is complete: the pick, the roll drawn whatever the flag, the tokens, and
  // the fact, which stands whether or not the text was added.
  void ChooseFor(TextView word) {
    const Long count = static_cast<Long>(candidates_.size());
    const Long chosen = std::clamp<Long>(Int(count * rng_.Rnd()) + 1, 1, count);
    const PhraseRecord& c = *candidates_[static_cast<std::size_t>(chosen - 1)];
    if (s_.observer) s_.observer->Chosen(file_.name, c.line + 1);
    const char16_t flag = word.back();
    if (flag == u'1') Append(c);
    const Long roll = Int(rng_.Rnd() * 100);
    if (flag == u'0' && roll < 50) Append(c);
    try {
      phrases::SubstituteTokens(s_, rng_, buffer_, scan_);
    } catch (const phrases::TokenError& e) {
      int line = c.line + 3;
      for (const Appended& a : appended_)
        if (phrases::HasUnclosedCall(a.text)) {
          line = a.line;
          break;
        }
      Fail(line, e.Reported());
    }
    RecordFact(c);
    candidates_.clear();
  }

  void Append(const PhraseRecord& c) {
    const std::size_t at = buffer_.size();
    buffer_ += c.text;
    buffer_ += u"| |";
    scan_.Appended(buffer_, at, c.tokens);
    appended_.push_back(Appended{c.text, c.line + 3});
  }

  void RecordFact(const PhraseRecord& c) {
    if (c.fact.empty()) return;
    const Long count = std::clamp<Long>(s_.factCount, 0, kMaxFacts);
    for (Long i = 1; i <= count; ++i)
      if (s_.facts[i] == c.fact) return;
    if (count == kMaxFacts) Fail(c.line + 5, Problem::Of(ProblemId::TooManyFacts, kMaxFacts));
    s_.facts[count + 1] = c.fact;
    s_.factCount = count + 1;
  }

  // A story walks some sixty phrase files: their working lists keep their room from walk to walk
  // instead of growing afresh in each.
  struct Room {
    std::vector<const PhraseRecord*> candidates;
    std::vector<Appended> appended;
    Text buffer;
  };
  static Room& Kept() {
    thread_local Room room;
    return room;
  }

  StoryState& s_;
  Random& rng_;
  const phrases::PhraseFile& file_;
  std::size_t next_ = 0;  // the record the reading has reached
  std::vector<const PhraseRecord*>& candidates_;
  std::vector<Appended>& appended_;  // the phrases of the paragraph, to name a faulty one's line
  Text& buffer_;
  phrases::TokenScan scan_;
  DateWindow window_;
};

}  // namespace

void RenderPhraseFile(StoryState& s, Random& rng, const DataDir& dir) {
  const auto file = phrases::OpenPhraseFile(dir, s.styleFolder + s.recPhraseFile + u".qrb");
  if (s.observer) s.observer->FileOpened(file->name);
  PhraseFileWalk(s, rng, *file).Run();
}

}  // namespace quorbel
