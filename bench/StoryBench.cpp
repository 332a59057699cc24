// Speed of a story on the test material: the build, one OK press, and a whole story of eight
// guesses; the whole story on the shipped material; and the slowest hint. Run: build/bench/quorbel_bench
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/StorySession.h"
#include "app/Strategy.h"

namespace {

using namespace quorbel;

const char* kMaterial = QUORBEL_FIXTURES "/story";
const char* kShipped = QUORBEL_DATA;

std::string Code(const StorySession& s) { return CodeText(s.state()); }

// Guesses that miss the code, so that every story runs to its eighth OK.
std::string Miss(const std::string& code) {
  std::string g;
  for (char d = '0'; d <= '9' && g.size() < 4; ++d)
    if (code.find(d) == std::string::npos) g += d;
  return g;
}

void Guess(StorySession& s, const std::string& g) {
  s.PickDigits(g);
  s.Ok();
}

void BM_BuildStory(benchmark::State& state) {
  std::uint64_t seed = 1;
  for (auto _ : state) {
    SeededRandom rng(seed++);
    StorySession session{DataDir(kMaterial), rng};
    session.Load();
    session.TimerTick();
    benchmark::DoNotOptimize(session.state().lineCount);
  }
}
BENCHMARK(BM_BuildStory)->Unit(benchmark::kMicrosecond);

void BM_OkPress(benchmark::State& state) {
  std::uint64_t seed = 1;
  for (auto _ : state) {
    state.PauseTiming();
    SeededRandom rng(seed++);
    StorySession session{DataDir(kMaterial), rng};
    session.Load();
    session.TimerTick();
    const std::string miss = Miss(Code(session));
    state.ResumeTiming();
    Guess(session, miss);
    benchmark::DoNotOptimize(session.state().lineCount);
  }
}
BENCHMARK(BM_OkPress)->Unit(benchmark::kMicrosecond);

double Median(const std::vector<double>& v) {
  std::vector<double> s(v);
  std::sort(s.begin(), s.end());
  return s[s.size() / 2];
}

// One material folder for all the stories, as the window and quorbel-cli --stories keep it.
void WholeStory(benchmark::State& state, const char* material) {
  const DataDir dir(material);
  std::uint64_t seed = 1;
  for (auto _ : state) {
    SeededRandom rng(seed++);
    StorySession session{dir, rng};
    session.Load();
    session.TimerTick();
    const std::string miss = Miss(Code(session));
    for (int n = 0; n < 8; ++n) Guess(session, miss);
    benchmark::DoNotOptimize(session.state().lineCount);
  }
}
BENCHMARK_CAPTURE(WholeStory, test_material, kMaterial)->Unit(benchmark::kMicrosecond)->ComputeStatistics("median", Median);
BENCHMARK_CAPTURE(WholeStory, shipped_material, kShipped)->Unit(benchmark::kMicrosecond)->ComputeStatistics("median", Median);

// The hint where it is slowest: after openings off its tree, which leave it to the fallback.
void HintOffTheTree(benchmark::State& state) {
  std::vector<std::vector<strategy::Clue>> cases;
  for (int i = 0; i < strategy::kCodeCount; i += 37) {
    std::vector<strategy::Clue> clues;
    for (const char* g : {"0123", "3210"}) {
      strategy::Clue c{g, 0, 0};
      strategy::Score(strategy::CodeText(i), g, c.bulls, c.cows);
      if (c.bulls < 4) clues.push_back(c);
    }
    cases.push_back(std::move(clues));
  }
  std::size_t k = 0;
  for (auto _ : state) benchmark::DoNotOptimize(strategy::NextGuess(cases[k++ % cases.size()]));
}
BENCHMARK(HintOffTheTree)->Unit(benchmark::kMillisecond);

}  // namespace
