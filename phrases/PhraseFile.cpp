#include "phrases/PhraseFile.h"

#include <algorithm>
#include <unordered_map>

#include "phrases/TextPieces.h"
#include "phrases/Tokens.h"
#include "story/Numbers.h"

namespace quorbel::phrases {
namespace {

Text FirstChar(TextView text) { return Text(text.substr(0, 1)); }

Plan ParsePlan(TextView line, int lineNo) {
  Plan plan;
  plan.line = lineNo;
  plan.kind = FirstChar(line);
  TextView rest = MidToEnd(line, 3);
  plan.initial = FirstChar(rest);
  std::size_t bar1 = rest.find(u'|');
  std::size_t bar2 = bar1 == TextView::npos ? TextView::npos : rest.find(u'|', bar1 + 1);
  if (bar2 == TextView::npos) {
    plan.fault = Problem::Of(ProblemId::PlanWithoutBars);
    return plan;
  }
  plan.bars = true;
  TextView wordList = rest.substr(0, bar1);
  plan.closingMode = Text(rest.substr(bar1 + 1, bar2 - bar1 - 1));
  plan.level = Text(rest.substr(bar2 + 1));
  plan.levelValue = LenientDecimal(plan.level);
  std::size_t start = 0;
  while (true) {
    std::size_t blank = wordList.find(u' ', start);
    TextView word = wordList.substr(start, blank == TextView::npos ? TextView::npos : blank - start);
    if (word.empty()) {
      plan.emptyWord = true;
      if (!plan.fault) plan.fault = Problem::Of(ProblemId::EmptyPlanWord);
    } else {
      if (plan.words.size() == static_cast<std::size_t>(kMaxPlanWords) && !plan.fault)
        plan.fault = Problem::Of(ProblemId::TooManyPlanWords, kMaxPlanWords);
      plan.words.emplace_back(word);
      plan.keys.push_back(AllButLast(word));
    }
    if (blank == TextView::npos) break;
    start = blank + 1;
  }
  return plan;
}

// The plan lines up to the empty line after them; the first fault, if they are malformed. False
// when no empty line ends them.
bool ReadPlans(InputFile& file, std::vector<Plan>& plans, std::optional<Fault>& fault) {
  while (true) {
    if (file.Eof()) {
      if (!fault) fault = Fault{file.LineNumber(), Problem::Of(ProblemId::PlansNotEnded)};
      return false;
    }
    const int lineNo = file.LineNumber();
    Text line = file.ReadLine();
    if (line.empty()) break;
    if (plans.size() == static_cast<std::size_t>(kMaxPlans) && !fault)
      fault = Fault{lineNo, Problem::Of(ProblemId::TooManyPlans, kMaxPlans)};
    plans.push_back(ParsePlan(line, lineNo));
    if (plans.back().fault && !fault) fault = Fault{lineNo, *plans.back().fault};
  }
  if (plans.empty()) fault = Fault{1, Problem::Of(ProblemId::NoPlans)};
  return true;
}

// The end of the file; a few empty lines after the last record count as its end too.
bool AtEnd(const InputFile& file) {
  const auto& lines = file.lines();
  std::size_t next = static_cast<std::size_t>(file.LineNumber() - 1);
  if (next >= lines.size()) return true;
  if (lines.size() - next >= 6) return false;
  return std::all_of(lines.begin() + static_cast<std::ptrdiff_t>(next), lines.end(),
                     [](const Text& l) { return l.empty(); });
}

}  // namespace

PhraseFile ParsePhraseFile(InputFile& file) {
  PhraseFile model;
  model.name = file.name();
  // The walk compares every record's key with a plan's: as numbers, equal exactly when the texts are.
  std::unordered_map<Text, int> keyIds;
  auto idOf = [&](const Text& key) { return keyIds.try_emplace(key, static_cast<int>(keyIds.size())).first->second; };
  const bool planned = ReadPlans(file, model.plans, model.planFault);
  for (Plan& plan : model.plans)
    for (const Text& key : plan.keys) plan.keyIds.push_back(idOf(key));
  if (!planned) return model;
  while (!AtEnd(file)) {
    PhraseRecord rec;
    rec.line = file.LineNumber();
    if (file.LineCount() - rec.line + 1 < 6) {
      model.endFault = Fault{rec.line, Problem::Of(ProblemId::RecordCutShort)};
      break;
    }
    file.ReadLine();
    rec.key = file.ReadLine();
    rec.conditions = file.ReadLine();
    rec.text = file.ReadLine();
    rec.precondition = file.ReadLine();
    rec.fact = file.ReadLine();
    rec.tokens = rec.text.find(u'_') == Text::npos ? 0 : TokensIn(rec.text);  // every token begins with "_"
    rec.keyId = idOf(rec.key);
    rec.parsed = RecordConditions::Of(rec.conditions);
    model.records.push_back(std::move(rec));
  }
  return model;
}

std::shared_ptr<const PhraseFile> OpenPhraseFile(const DataDir& dir, TextView relName) {
  return dir.Parsed<PhraseFile>(relName, ParsePhraseFile);
}

}  // namespace quorbel::phrases
