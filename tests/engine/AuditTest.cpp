// quorbel-cli audit, and the engine's choice reports it counts.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "TempMaterial.h"
#include "app/StorySession.h"
#include "cli/Cli.h"

namespace quorbel {
namespace {

struct Tally final : ChoiceObserver {
  int opened = 0, eligible = 0, chosen = 0, shades = 0;
  void FileOpened(const std::string&) override { ++opened; }
  void Eligible(const std::string&, int) override { ++eligible; }
  void Chosen(const std::string&, int) override { ++chosen; }
  void ShadeDrawn(const Text&, const Text&) override { ++shades; }
};

std::vector<Text> Story(std::uint64_t seed, ChoiceObserver* observer) {
  SeededRandom rng(seed);
  StorySession s(DataDir(QUORBEL_FIXTURES "/story"), rng);
  s.state().observer = observer;
  s.Load();
  s.TimerTick();
  for (const char* g : {"0123", "4567", "8901"}) {
    if (s.finished()) break;
    s.PickDigits(g);
    s.Ok();
  }
  return SavedLines(s.state());
}

TEST(Audit, ListeningChangesNeitherTheTextNorTheDraws) {
  for (std::uint64_t seed : {1u, 2u, 3u}) {
    Tally t;
    EXPECT_EQ(Story(seed, &t), Story(seed, nullptr)) << "seed " << seed;
    EXPECT_GT(t.opened, 0);
    EXPECT_GT(t.eligible, 0);
    EXPECT_GT(t.chosen, 0);
  }
}

TEST(Audit, NamesTheRecordNoStoryChoseAndWhy) {
  testing::TempMaterial m;
  m.CopyFrom(QUORBEL_FIXTURES "/story");
  // A record for a frost the clock never reaches, appended to the last group of p_time.
  m.Write("det/p_time.qrb",
          "0 ea1 eb0|1|0\n\n#\nea\n01013112 00 00 00 00 00 -50 50\nПро|хо|дит| |час.\n\n\n"
          "#\neb\n01013112 00 00 00 00 00 -50 50\nЗа| |ок|ном| |тем|но.\n\n\n"
          "#\neb\n01013112 00 00 00 00 00 -99-90\nТре|щит| |мо|роз.\n\n\n");
  std::ostringstream out, err;
  ASSERT_EQ(cli::Run({"audit", "--data", m.root().string(), "--stories", "40", "--seed", "1"}, out, err), 0)
      << err.str();
  const std::string text = out.str();
  EXPECT_NE(text.find("audit of 40 stories, seeds 1..40, settings at random\n"), std::string::npos);
  EXPECT_NE(text.find("det/p_time.qrb:16 phrase: its conditions (or its plan's level) never met in 40 stories"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("\nphrase records: "), std::string::npos);
  EXPECT_NE(text.find("\nquestions: "), std::string::npos);

  std::ostringstream json;
  ASSERT_EQ(cli::Run({"audit", "--data", m.root().string(), "--stories", "40", "--seed", "1", "--json"}, json, err), 0);
  const auto j = nlohmann::json::parse(json.str());
  long reached = 0;
  for (const auto& r : j["records"])
    if (r["kind"] == "phrase" && r["chosen"].get<long>() > 0) ++reached;
  EXPECT_EQ(j["summary"]["phrase records"]["reached"], reached);
  EXPECT_TRUE(std::filesystem::exists(m.root() / "quorbel.cfg"));  // the audit keeps its settings apart
}

TEST(Audit, AFolderWithoutMaterialIsOneLine) {
  testing::TempMaterial m;
  std::ostringstream out, err;
  EXPECT_EQ(cli::Run({"audit", "--data", m.root().string()}, out, err), 1);
  EXPECT_EQ(err.str(), "quorbel-cli: styles.qrb: file not found\n");
}

}  // namespace
}  // namespace quorbel
