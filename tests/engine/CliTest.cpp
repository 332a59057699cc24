// The command-line front end: parsing, reproducible stories, JSON, save, errors.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "TempMaterial.h"
#include "cli/Cli.h"
#include "cli/Options.h"
#include "cli/Players.h"

namespace quorbel::cli {
namespace {

struct Result {
  int code;
  std::string out, err;
};

Result RunCli(std::vector<std::string> args) {
  std::ostringstream out, err;
  int code = Run(args, out, err);
  return {code, out.str(), err.str()};
}

const std::string kStory = QUORBEL_FIXTURES "/story";

TEST(CliParse, OptionsAndUsageErrors) {
  auto ok = ParseArgs({"--data", "d", "--seed", "42", "--guesses", "1234,5078", "--json", "--save", "f"});
  ASSERT_TRUE(ok.options);
  EXPECT_EQ(ok.options->dataDir, "d");
  EXPECT_EQ(*ok.options->seed, 42u);
  EXPECT_EQ(ok.options->guesses, (std::vector<std::string>{"1234", "5078"}));
  EXPECT_EQ(ok.options->play, Play::Given);
  EXPECT_TRUE(ok.options->json);

  EXPECT_EQ(ParseArgs({"--guesses", "1233"}).error, "a guess is four different digits, not \"1233\"");
  EXPECT_EQ(ParseArgs({"--guesses", "123"}).error, "a guess is four different digits, not \"123\"");
  EXPECT_EQ(ParseArgs({"--guesses", "1234,"}).error, "a guess is four different digits, not \"\"");
  EXPECT_EQ(ParseArgs({"--play", "smart"}).error, "--play takes random, solver or best");
  EXPECT_EQ(ParseArgs({"--seed", "-1"}).error, "--seed needs a whole number from 0 to 18446744073709551615");
  EXPECT_EQ(ParseArgs({"--frobnicate"}).error, "unknown option --frobnicate");
  EXPECT_TRUE(ParseArgs({"check", "--data", "x"}).options->check);
  EXPECT_EQ(ParseArgs({"--guesses", "1234", "--guesses", "5678"}).error, "--guesses is given twice");

  Result r = RunCli({"--guesses", "12a4"});
  EXPECT_EQ(r.code, 2);
  EXPECT_EQ(r.err.substr(0, r.err.find('\n')), "quorbel-cli: a guess is four different digits, not \"12a4\"");
}

TEST(CliStory, TheSameSeedTellsTheSameStory) {
  Result a = RunCli({"--data", kStory, "--seed", "7", "--play", "random", "--json"});
  Result b = RunCli({"--data", kStory, "--seed", "7", "--play", "random", "--json"});
  ASSERT_EQ(a.code, 0) << a.err;
  EXPECT_EQ(a.out, b.out);
  Result c = RunCli({"--data", kStory, "--seed", "8", "--play", "random", "--json"});
  EXPECT_NE(a.out, c.out);

  auto j = nlohmann::json::parse(a.out);
  EXPECT_EQ(j["seed"], 7);
  ASSERT_EQ(j["settings"].size(), 10u);
  // The settings as the build resolved them: the opening status line names their month.
  const char* months[] = {"январь", "февраль", "март", "апрель", "май", "июнь", "июль",
                          "август", "сентябрь", "октябрь", "ноябрь", "декабрь"};
  int month = j["settings"][3];
  ASSERT_TRUE(month >= 1 && month <= 12);
  EXPECT_EQ(j["status"].get<std::string>().rfind(months[month - 1], 0), 0u);
  EXPECT_EQ(j["cast"].size(), 10u);
  EXPECT_EQ(j["code"].get<std::string>().size(), 4u);
  ASSERT_FALSE(j["turns"].empty());
  const auto& last = j["turns"].back();
  EXPECT_EQ(last["status"], j["status"]);
  EXPECT_EQ(j["lines"].size() >= 1, true);
  if (j["ending"].is_null()) {
    EXPECT_LT(j["turns"].size(), 8u);
  } else {
    int ending = j["ending"];
    EXPECT_EQ(ending == 3, last["result"] != " 4 0");
  }
}

TEST(CliStory, TextOutputIsTheSavedStoryInUtf8AndSaveWritesWindows1251) {
  testing::TempMaterial m;
  const auto file = (m.root() / "qrb.txt").string();
  Result r = RunCli({"--data", kStory, "--seed", "3", "--guesses", "1234,5678", "--save", file});
  ASSERT_EQ(r.code, 0) << r.err;
  std::ifstream in(file, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string expected;
  for (const Text& line : SplitLines(*DecodeCp1251(bytes))) expected += ToUtf8(line) + "\n";
  EXPECT_EQ(r.out, expected);
  EXPECT_NE(bytes.find("\r\n"), std::string::npos);
  EXPECT_EQ(r.out.substr(0, 3), "   ");

  Result json = RunCli({"--data", kStory, "--seed", "3", "--guesses", "1234,5678", "--json"});
  auto j = nlohmann::json::parse(json.out);
  ASSERT_EQ(j["turns"].size(), 2u);
  EXPECT_EQ(j["turns"][0]["guess"], "1234");
  EXPECT_EQ(j["turns"][1]["guess"], "5678");
}

TEST(CliStory, TheSolverOnlyGuessesCodesThatFitEveryScore) {
  for (int seed = 1; seed <= 5; ++seed) {
    Result r = RunCli({"--data", kStory, "--seed", std::to_string(seed), "--play", "solver", "--json"});
    ASSERT_EQ(r.code, 0) << r.err;
    auto j = nlohmann::json::parse(r.out);
    const auto& turns = j["turns"];
    for (std::size_t n = 0; n < turns.size(); ++n) {
      for (std::size_t k = 0; k < n; ++k) {
        int b = 0, c = 0;
        strategy::Score(turns[n]["guess"].get<std::string>(), turns[k]["guess"].get<std::string>(), b, c);
        std::string expected = " " + std::to_string(b) + " " + std::to_string(c);
        EXPECT_EQ(turns[k]["result"], expected) << "seed " << seed << " turn " << n + 1;
      }
    }
  }
}

TEST(CliStory, TheBestPlayerWinsWithinSevenGuesses) {
  for (int seed = 1; seed <= 3; ++seed) {
    Result r = RunCli({"--data", kStory, "--seed", std::to_string(seed), "--play", "best", "--json"});
    ASSERT_EQ(r.code, 0) << r.err;
    auto j = nlohmann::json::parse(r.out);
    ASSERT_LE(j["turns"].size(), 7u);
    EXPECT_EQ(j["turns"].back()["result"], " 4 0") << "seed " << seed;
    EXPECT_EQ(j["turns"][0]["guess"], "0123");
  }
}

TEST(CliErrors, ADataFaultIsOneLineAndExitOne) {
  testing::TempMaterial m;
  m.Write("styles.qrb", "det\nДетектив\n");
  Result r = RunCli({"--data", m.root().string(), "--seed", "1"});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "quorbel-cli: det/themes.qrb: file not found\n");
  EXPECT_EQ(r.out, "");
}

TEST(CliErrors, AnOutputThatCannotBeWrittenIsAFailure) {
  std::ostringstream out, err;
  out.setstate(std::ios::badbit);  // as a full disk leaves std::cout
  EXPECT_EQ(cli::Run({"--data", kStory, "--seed", "1"}, out, err), 1);
  EXPECT_EQ(err.str(), "quorbel-cli: cannot write the output\n");
}

TEST(CliStories, ABatchReportsSpeed) {
  Result r = RunCli({"--data", kStory, "--stories", "5", "--seed", "10"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("5 stories in "), std::string::npos);
  EXPECT_NE(r.out.find("stories per second, median "), std::string::npos);
  EXPECT_NE(r.out.find("(seeds 10..14)"), std::string::npos);
}

}  // namespace
}  // namespace quorbel::cli
