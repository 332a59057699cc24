#include "app/StoryFlow.h"

#include "app/Strategy.h"
#include "phrases/PhraseEngine.h"
#include "phrases/TextPieces.h"
#include "story/Episodes.h"
#include "story/Numbers.h"
#include "story/PlotBuilder.h"

namespace quorbel {

namespace {
std::size_t U(Long i) { return static_cast<std::size_t>(i); }
Long Digit(char16_t c) { return phrases::DigitValue(c); }
Long DigitAt(TextView t, std::size_t i) { return i < t.size() ? Digit(t[i]) : 0; }
}  // namespace

void DrawSecretCode(StoryState& s, Random& rng) {
  for (Long i = 1; i <= 4; ++i) {
    bool repeated = true;
    while (repeated) {
      s.codeDigits[i] = Int(rng.Rnd() * 10);
      repeated = false;
      for (Long j = 1; j < i; ++j) repeated = repeated || s.codeDigits[j] == s.codeDigits[i];
    }
  }
}

void ScoreGuess(StoryState& s, Long n, TextView guess) {
  std::string code, digits;
  for (Long p = 1; p <= 4; ++p) {
    code += static_cast<char>('0' + s.codeDigits[p]);
    digits += static_cast<char>('0' + DigitAt(guess, U(p - 1)));
  }
  int bulls = 0, cows = 0;
  strategy::Score(code, digits, bulls, cows);
  s.bulls[n] += bulls;
  s.cows[n] += cows;
  s.guesses[n] = Text(guess);
  s.results[n] = Str(s.bulls[n]) + Str(s.cows[n]);
}

void JudgeGuess(StoryState& s, Long n) {
  s.verdict = 0;
  const Text& current = s.results[n];
  for (Long k = 1; k < n; ++k) {
    if (s.results[k] == current) {
      s.verdict = 2;
      return;
    }
  }
  Long d[5] = {0};
  for (Long p = 1; p <= 4; ++p) d[p] = DigitAt(s.guesses[n], U(p - 1));
  // Running totals over all the earlier guesses, never reset between them.
  Long same = 0, shared = 0;
  for (Long k = 1; k < n; ++k) {
    const Text& earlier = s.guesses[k];
    for (Long p = 1; p <= 4; ++p)
      if (DigitAt(earlier, U(p - 1)) == d[p]) ++same;
    for (Long p = 1; p <= 4; ++p) {
      for (Long q = 1; q <= 4; ++q) {
        if (q != p && DigitAt(earlier, U(p - 1)) == d[q]) {
          ++shared;
          break;
        }
      }
    }
    Long bullsDigit = DigitAt(s.results[k], 1);
    Long cowsDigit = DigitAt(s.results[k], 3);
    if (same < bullsDigit) s.verdict = 1;
    if (same + shared < bullsDigit + cowsDigit) s.verdict = 1;
  }
}

void PlayMainEpisodes(StoryState& s, Random& rng, const DataDir& dir) {
  StepEpisodeFile(s, rng, dir, ThemeFileName(s, stem::kMain), true);
}

void PlayFinalEpisode(StoryState& s, Random& rng, const DataDir& dir, Long kind) {
  const auto file = OpenFinalFile(dir, ThemeFileName(s, stem::kFinal));
  Long count = 0;
  for (const FinalText& r : file->written)
    if (LenientNumber(r.kind.text) == kind) ++count;
  if (file->cut) throw file->cut->error;
  s.groupNo = count;
  s.pickedRecord = Int(rng.Rnd() * count + 1);
  Long numbered = 0;
  for (const FinalText& r : file->written) {
    // The final record's three reads go into the same members as the main records' reads;
    // chance, break and ranges keep the values of the last main record.
    AssignFinal(s, *file, r);
    if (s.recGroup != kind || ++numbered != s.pickedRecord) continue;
    if (s.observer) s.observer->Chosen(file->name, r.line);
    RenderPhraseFile(s, rng, dir);
  }
}

}  // namespace quorbel
