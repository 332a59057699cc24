// Stories told by seed must stay byte for byte what they were when recorded: on the test
// material and on a frozen copy of the shipped material. A few stories are kept whole, so a
// difference can be read; many more are kept as a digest of their --json output.
// QUORBEL_RECORD=1 writes the recordings afresh instead of comparing (only after a change that
// is meant to change stories).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/Cli.h"

namespace quorbel::cli {
namespace {

const std::string kFixtures = QUORBEL_FIXTURES;
const char* const kPlayers[] = {"random", "solver", "best"};

// FNV-1a: short, stable on every platform, and enough to tell one story from another.
std::uint64_t Digest(const std::string& bytes) {
  std::uint64_t h = 14695981039346656037ULL;
  for (unsigned char c : bytes) h = (h ^ c) * 1099511628211ULL;
  return h;
}

bool Recording() { return std::getenv("QUORBEL_RECORD") != nullptr; }

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << "no recording " << path;
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Keep(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// A story kept whole: its material, seed and player (a --play name, or the guesses given).
struct Whole {
  const char* material;
  std::uint64_t seed;
  std::vector<std::string> play;
};

// Lost, quickly won and won at the eighth guess, on both materials; the shipped ones are long,
// so only a few (themes 1 and 4 here, every theme in the digests).
const Whole kWhole[] = {
    {"story", 1, {"--play", "random"}},
    {"story", 2, {"--play", "random"}},
    {"story", 3, {"--play", "random"}},
    {"story", 4, {"--play", "solver"}},
    {"story", 5, {"--play", "best"}},
    {"story", 6, {"--play", "best"}},
    {"story", 1, {"--guesses", "5678,5679,5689,5789,6789,0567,0568,1403"}},
    {"shipped", 3, {"--play", "random"}},
    {"shipped", 9, {"--guesses", "0123,0167,0169,0179,0189,0169,0789,5482"}},
};

std::string Story(const Whole& w) {
  std::vector<std::string> args{"--data", kFixtures + "/" + w.material, "--seed", std::to_string(w.seed), "--json"};
  args.insert(args.end(), w.play.begin(), w.play.end());
  std::ostringstream out, err;
  EXPECT_EQ(Run(args, out, err), 0) << w.material << " seed " << w.seed << ": " << err.str();
  return out.str();
}

TEST(Replay, WholeStoriesAreAsRecorded) {
  const std::string path = kFixtures + "/replay/whole.jsonl";
  std::string now;
  for (const Whole& w : kWhole) now += nlohmann::json::parse(Story(w)).dump() + '\n';
  if (Recording()) return Keep(path, now);
  std::istringstream was(ReadAll(path)), is(now);
  std::size_t n = 0;
  for (std::string a, b; std::getline(was, a) && std::getline(is, b); ++n)
    ASSERT_EQ(nlohmann::json::parse(a).dump(2), nlohmann::json::parse(b).dump(2))
        << kWhole[n].material << " seed " << kWhole[n].seed << " " << kWhole[n].play.back();
  EXPECT_EQ(n, std::size(kWhole));
}

TEST(Replay, ManyStoriesKeepTheirDigest) {
  const std::string path = kFixtures + "/replay/digests.txt";
  std::ostringstream now;
  for (const char* material : {"story", "shipped"})
    for (const char* play : kPlayers)
      for (std::uint64_t seed = 1; seed <= 100; ++seed)
        now << material << ' ' << play << ' ' << seed << ' ' << std::hex
            << Digest(Story({material, seed, {"--play", play}})) << std::dec << '\n';
  if (Recording()) return Keep(path, now.str());
  std::istringstream was(ReadAll(path)), is(now.str());
  int n = 0;
  for (std::string a, b; std::getline(was, a) && std::getline(is, b); ++n)
    EXPECT_EQ(a, b)
        << "(material, player, seed, digest): tell it with quorbel-cli --json --data tests/fixtures/<material>";
  EXPECT_EQ(n, 600);
}

}  // namespace
}  // namespace quorbel::cli
