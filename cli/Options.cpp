#include "cli/Options.h"

#include <charconv>

namespace quorbel::cli {

const char* const kUsage =
    "usage: quorbel-cli [--data DIR] [--seed N] [--guesses G1,G2,...] [--play random|solver|best] [--json] "
    "[--save FILE]\n"
    "       quorbel-cli --stories N [--data DIR] [--seed S] [--play random|solver|best]\n"
    "       quorbel-cli check [--data DIR]\n"
    "       quorbel-cli audit [--data DIR] [--stories N] [--seed S] [--json]\n"
    "       quorbel-cli --help | --version";

const char* const kHelp =
    "Tells a detective story from the story material, played by the guesses given or by a player.\n"
    "The material is read from DIR, else from the current folder when it holds styles.qrb, else from\n"
    "the installed material (share/quorbel beside the program); quorbel.cfg is then read from\n"
    "$XDG_CONFIG_HOME/quorbel (default ~/.config/quorbel).";

bool IsValidGuess(const std::string& g) {
  if (g.size() != 4) return false;
  for (std::size_t i = 0; i < 4; ++i) {
    if (g[i] < '0' || g[i] > '9') return false;
    for (std::size_t j = 0; j < i; ++j)
      if (g[j] == g[i]) return false;
  }
  return true;
}

namespace {

template <typename T>
bool ParseNumber(const std::string& text, T& value) {
  if (text.empty()) return false;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

ParseResult Fail(std::string message) { return {std::nullopt, std::move(message)}; }

}  // namespace

ParseResult ParseArgs(const std::vector<std::string>& args) {
  Options o;
  std::size_t i = 0;
  if (!args.empty() && args[0] == "check") {
    o.check = true;
    i = 1;
  } else if (!args.empty() && args[0] == "audit") {
    o.audit = true;
    i = 1;
  }
  for (; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size()) return false;
      out = args[++i];
      return true;
    };
    std::string v;
    if (a == "--help" || a == "-h") {
      o.help = true;
      return {o, {}};
    } else if (a == "--version") {
      o.version = true;
      return {o, {}};
    } else if (a == "--data") {
      if (!value(v)) return Fail("--data needs a folder");
      o.dataDir = v;
    } else if (o.check) {
      return Fail("check takes only --data, not " + a);
    } else if (a == "--seed") {
      std::uint64_t seed = 0;
      if (!value(v) || !ParseNumber(v, seed)) return Fail("--seed needs a whole number from 0 to 18446744073709551615");
      o.seed = seed;
    } else if (a == "--guesses") {
      if (o.play == Play::Given) return Fail("--guesses is given twice");
      if (!value(v)) return Fail("--guesses needs a list such as 1234,5078");
      if (o.play != Play::None) return Fail("--guesses and --play cannot be combined");
      std::size_t start = 0;
      while (true) {
        std::size_t comma = v.find(',', start);
        std::string g = v.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (!IsValidGuess(g)) return Fail("a guess is four different digits, not \"" + g + "\"");
        o.guesses.push_back(g);
        if (comma == std::string::npos) break;
        start = comma + 1;
      }
      if (o.guesses.size() > 8) return Fail("a story has at most eight guesses");
      o.play = Play::Given;
    } else if (a == "--play") {
      if (!value(v) || (v != "random" && v != "solver" && v != "best"))
        return Fail("--play takes random, solver or best");
      if (o.play == Play::Given) return Fail("--guesses and --play cannot be combined");
      o.play = v == "random" ? Play::Random : v == "solver" ? Play::Solver : Play::Best;
    } else if (a == "--json") {
      o.json = true;
    } else if (a == "--save") {
      if (!value(v)) return Fail("--save needs a file name");
      o.saveFile = v;
    } else if (a == "--stories") {
      long n = 0;
      if (!value(v) || !ParseNumber(v, n) || n < 1) return Fail("--stories needs a number of stories, at least 1");
      o.stories = n;
    } else {
      return Fail("unknown option " + a);
    }
  }
  if (o.audit && (o.play != Play::None || o.saveFile))
    return Fail("audit takes only --data, --stories, --seed and --json");
  if (!o.audit && o.stories && (o.json || o.saveFile || o.play == Play::Given))
    return Fail("--stories takes only --data, --seed and --play");
  return {o, {}};
}

}  // namespace quorbel::cli
