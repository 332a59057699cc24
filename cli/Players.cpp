#include "cli/Players.h"

#include <algorithm>

namespace quorbel::cli {


std::string RandomPlayer::Next() {
  std::string g;
  while (g.size() < 4) {
    char d = static_cast<char>('0' + Int(rng_.Rnd() * 10));
    if (g.find(d) == std::string::npos) g.push_back(d);
  }
  return g;
}

SolverPlayer::SolverPlayer(Random& rng) : rng_(rng) {
  for (int n = 0; n < 10000; ++n) {
    std::string g = {static_cast<char>('0' + n / 1000), static_cast<char>('0' + n / 100 % 10),
                     static_cast<char>('0' + n / 10 % 10), static_cast<char>('0' + n % 10)};
    bool distinct = g[0] != g[1] && g[0] != g[2] && g[0] != g[3] && g[1] != g[2] && g[1] != g[3] && g[2] != g[3];
    if (distinct) candidates_.push_back(g);
  }
}

std::string SolverPlayer::Next() {
  if (candidates_.empty()) return {};
  auto i = static_cast<std::size_t>(Int(rng_.Rnd() * static_cast<double>(candidates_.size())));
  return candidates_[std::min(i, candidates_.size() - 1)];
}

void SolverPlayer::Told(const std::string& guess, int bulls, int cows) {
  std::erase_if(candidates_, [&](const std::string& code) {
    int b = 0, c = 0;
    strategy::Score(code, guess, b, c);
    return b != bulls || c != cows;
  });
}

}  // namespace quorbel::cli
