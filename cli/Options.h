#pragma once
// Parsing the command line of quorbel-cli. The parser returns a result; it never exits.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorbel::cli {

enum class Play { None, Given, Random, Solver, Best };

struct Options {
  bool check = false;  // "check": validate a material folder
  bool audit = false;  // "audit": how often stories choose each record
  bool help = false;     // --help: the usage, exit 0
  bool version = false;  // --version
  std::string dataDir;   // --data DIR; empty: the current folder if it holds material, else the installed one
  std::optional<std::uint64_t> seed;
  std::vector<std::string> guesses;  // each four distinct digits
  Play play = Play::None;
  bool json = false;
  std::optional<std::string> saveFile;
  std::optional<long> stories;  // --stories N: a timed batch
};

struct ParseResult {
  std::optional<Options> options;
  std::string error;  // set when options is empty
};

ParseResult ParseArgs(const std::vector<std::string>& args);

// Four distinct digits.
bool IsValidGuess(const std::string& g);

extern const char* const kUsage;
// What --help adds to the usage: where the material and the written files are.
extern const char* const kHelp;

}  // namespace quorbel::cli
