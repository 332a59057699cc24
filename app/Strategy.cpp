#include "app/Strategy.h"

#include <algorithm>
#include <array>
#include <bit>

namespace quorbel::strategy {

namespace {

struct Codes {
  std::array<std::array<char, 4>, kCodeCount> digits{};
  std::array<std::uint16_t, kCodeCount> mask{};  // bit d set for each digit d of the code
  std::array<int, 10000> index{};                // four-digit number -> code, -1 if not a code

  Codes() {
    index.fill(-1);
    int i = 0;
    for (int n = 0; n < 10000; ++n) {
      const std::array<int, 4> d = {n / 1000, n / 100 % 10, n / 10 % 10, n % 10};
      std::uint16_t m = 0;
      for (int x : d) m = static_cast<std::uint16_t>(m | (1u << x));
      if (std::popcount(m) != 4) continue;
      for (int p = 0; p < 4; ++p) digits[static_cast<std::size_t>(i)][static_cast<std::size_t>(p)] = static_cast<char>('0' + d[static_cast<std::size_t>(p)]);
      mask[static_cast<std::size_t>(i)] = m;
      index[static_cast<std::size_t>(n)] = i++;
    }
  }
};

const Codes& AllCodes() {
  static const Codes codes;
  return codes;
}

struct Node {
  int guess = 0;
  std::array<int, kScoreKeys> child{};  // node of each score, -1 where none
};

// Rebuilds the tree from the pre-order guess list by partitioning the codes the same way.
class Tree {
 public:
  Tree() {
    std::vector<int> all(kCodeCount);
    for (int i = 0; i < kCodeCount; ++i) all[static_cast<std::size_t>(i)] = i;
    std::size_t next = 0;
    if (Build(all, next) < 0 || next != kTreeGuessCount) nodes_.clear();
  }
  const std::vector<Node>& nodes() const { return nodes_; }

 private:
  int Build(const std::vector<int>& codes, std::size_t& next) {
    Node node;
    node.child.fill(-1);
    if (codes.size() == 1) {
      node.guess = codes[0];
    } else {
      if (next >= kTreeGuessCount || kTreeGuesses[next] >= kCodeCount) return -1;
      node.guess = kTreeGuesses[next++];
    }
    const int at = static_cast<int>(nodes_.size());
    nodes_.push_back(node);
    std::array<std::vector<int>, kScoreKeys> parts;
    for (int c : codes) parts[static_cast<std::size_t>(ScoreKey(node.guess, c))].push_back(c);
    for (int k = 0; k < kScoreKeys; ++k) {
      if (k == kSolved || parts[static_cast<std::size_t>(k)].empty()) continue;
      const int child = Build(parts[static_cast<std::size_t>(k)], next);
      if (child < 0) return -1;
      nodes_[static_cast<std::size_t>(at)].child[static_cast<std::size_t>(k)] = child;
    }
    return at;
  }

  std::vector<Node> nodes_;
};

const Tree& StoredTree() {
  static const Tree tree;
  return tree;
}

// The digit renaming that turns first into to, the other digits kept in increasing order.
std::array<char, 10> Renaming(std::string_view first, std::string_view to) {
  std::array<char, 10> map{};
  std::array<bool, 10> taken{};
  for (std::size_t p = 0; p < 4; ++p) {
    map[static_cast<std::size_t>(first[p] - '0')] = to[p];
    taken[static_cast<std::size_t>(to[p] - '0')] = true;
  }
  int free = 0;
  for (int d = 0; d < 10; ++d) {
    if (first.find(static_cast<char>('0' + d)) != std::string_view::npos) continue;
    while (taken[static_cast<std::size_t>(free)]) ++free;
    map[static_cast<std::size_t>(d)] = static_cast<char>('0' + free++);
  }
  return map;
}

std::string Renamed(std::string_view text, const std::array<char, 10>& map) {
  std::string out(text);
  for (char& ch : out) ch = map[static_cast<std::size_t>(ch - '0')];
  return out;
}

// The tree's guess after clues, or -1 when the clues leave the tree.
int TreeGuess(std::span<const Clue> clues) {
  const std::vector<Node>& nodes = StoredTree().nodes();
  if (nodes.empty()) return -1;
  if (clues.empty()) return nodes[0].guess;
  const std::string root = CodeText(nodes[0].guess);
  const std::array<char, 10> to = Renaming(clues[0].guess, root);
  std::array<char, 10> back{};
  for (int d = 0; d < 10; ++d) back[static_cast<std::size_t>(to[static_cast<std::size_t>(d)] - '0')] = static_cast<char>('0' + d);
  int at = 0;
  std::vector<std::string> seen;
  for (const Clue& clue : clues) {
    // A guess made again tells nothing new.
    if (std::find(seen.begin(), seen.end(), clue.guess) != seen.end()) continue;
    seen.push_back(clue.guess);
    const Node& node = nodes[static_cast<std::size_t>(at)];
    if (CodeIndex(Renamed(clue.guess, to)) != node.guess) return -1;
    const int next = node.child[static_cast<std::size_t>(clue.bulls * 5 + clue.cows)];
    if (next < 0) return -1;
    at = next;
  }
  return CodeIndex(Renamed(CodeText(nodes[static_cast<std::size_t>(at)].guess), back));
}

}  // namespace

std::string CodeText(int i) {
  const auto& d = AllCodes().digits[static_cast<std::size_t>(i)];
  return std::string(d.begin(), d.end());
}

int CodeIndex(std::string_view text) {
  if (text.size() != 4) return -1;
  int n = 0;
  for (char ch : text) {
    if (ch < '0' || ch > '9') return -1;
    n = n * 10 + (ch - '0');
  }
  return AllCodes().index[static_cast<std::size_t>(n)];
}

int ScoreKey(int g, int c) {
  const Codes& codes = AllCodes();
  const auto& a = codes.digits[static_cast<std::size_t>(g)];
  const auto& b = codes.digits[static_cast<std::size_t>(c)];
  const int bulls = (a[0] == b[0]) + (a[1] == b[1]) + (a[2] == b[2]) + (a[3] == b[3]);
  const int shared = std::popcount(static_cast<unsigned>(codes.mask[static_cast<std::size_t>(g)] & codes.mask[static_cast<std::size_t>(c)]));
  return bulls * 5 + (shared - bulls);
}

void Score(std::string_view code, std::string_view guess, int& bulls, int& cows) {
  bulls = cows = 0;
  for (std::size_t p = 0; p < 4; ++p) {
    if (guess[p] == code[p])
      ++bulls;
    else if (code.find(guess[p]) != std::string_view::npos)
      ++cows;
  }
}

std::vector<int> Consistent(std::span<const Clue> clues) {
  std::vector<int> keys, guesses;
  for (const Clue& clue : clues) {
    const int g = CodeIndex(clue.guess);
    if (g < 0) return {};
    guesses.push_back(g);
    keys.push_back(clue.bulls * 5 + clue.cows);
  }
  std::vector<int> out;
  for (int c = 0; c < kCodeCount; ++c) {
    bool fits = true;
    for (std::size_t i = 0; fits && i < guesses.size(); ++i) fits = ScoreKey(guesses[i], c) == keys[i];
    if (fits) out.push_back(c);
  }
  return out;
}

int PartitionGuess(std::span<const int> candidates, std::uint16_t touched) {
  if (candidates.size() <= 2) return candidates[0];
  // The candidates' digits side by side, so that scoring one guess against all of them is one
  // plain loop the compiler can vectorise: a hint over a thousand codes stays within a few ms.
  const Codes& codes = AllCodes();
  const std::size_t n = candidates.size();
  std::array<std::vector<std::uint8_t>, 4> digit;
  std::vector<std::uint16_t> mask(n);
  std::vector<std::uint8_t> key(n);
  for (auto& d : digit) d.resize(n);
  for (std::size_t i = 0; i < n; ++i) {
    const auto c = static_cast<std::size_t>(candidates[i]);
    for (std::size_t p = 0; p < 4; ++p) digit[p][i] = static_cast<std::uint8_t>(codes.digits[c][p] - '0');
    mask[i] = codes.mask[c];
  }
  long best = -1;
  int bestGuess = candidates[0];
  bool bestFits = false;
  for (int g = 0; g < kCodeCount; ++g) {
    const auto& gd = codes.digits[static_cast<std::size_t>(g)];
    // Untouched digits must be the lowest ones, in increasing order.
    bool lowest = true;
    int nextFree = 0;
    for (char ch : gd) {
      const int d = ch - '0';
      if (touched >> d & 1) continue;
      while (touched >> nextFree & 1) ++nextFree;
      if (d != nextFree) {
        lowest = false;
        break;
      }
      ++nextFree;
    }
    if (!lowest) continue;
    const std::uint8_t g0 = static_cast<std::uint8_t>(gd[0] - '0'), g1 = static_cast<std::uint8_t>(gd[1] - '0'),
                       g2 = static_cast<std::uint8_t>(gd[2] - '0'), g3 = static_cast<std::uint8_t>(gd[3] - '0');
    for (std::size_t i = 0; i < n; ++i) {
      const unsigned bulls = static_cast<unsigned>((digit[0][i] == g0) + (digit[1][i] == g1) + (digit[2][i] == g2) +
                                                  (digit[3][i] == g3));
      const unsigned m = mask[i];
      const unsigned shared = ((m >> g0) & 1u) + ((m >> g1) & 1u) + ((m >> g2) & 1u) + ((m >> g3) & 1u);
      key[i] = static_cast<std::uint8_t>(4 * bulls + shared);  // = bulls * 5 + cows
    }
    std::array<int, kScoreKeys> count{};
    for (std::uint8_t k : key) ++count[k];
    long squares = 0;
    for (int c : count) squares += static_cast<long>(c) * c;
    const bool fits = count[kSolved] > 0;
    if (best < 0 || squares < best || (squares == best && fits && !bestFits)) {
      best = squares;
      bestGuess = g;
      bestFits = fits;
    }
  }
  return bestGuess;
}

std::string NextGuess(std::span<const Clue> clues) {
  const std::vector<int> fits = Consistent(clues);
  if (fits.empty()) return {};
  if (fits.size() == 1) return CodeText(fits[0]);
  const int fromTree = TreeGuess(clues);
  if (fromTree >= 0) return CodeText(fromTree);
  std::uint16_t touched = 0;
  for (const Clue& clue : clues)
    for (char ch : clue.guess) touched = static_cast<std::uint16_t>(touched | 1u << (ch - '0'));
  return CodeText(PartitionGuess(fits, touched));
}

}  // namespace quorbel::strategy
