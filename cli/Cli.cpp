#include "cli/Cli.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <exception>
#include <fstream>
#include <iomanip>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <sstream>

#include "app/StorySession.h"
#include "cli/Audit.h"
#include "cli/Checker.h"
#include "cli/Options.h"
#include "cli/Players.h"
#include "story/DataError.h"
#include "story/Places.h"
#include "story/Platform.h"


namespace quorbel::cli {

namespace {

constexpr std::uint64_t kPlayerSeedMix = 0x9E3779B97F4A7C15ULL;

struct Turn {
  std::string guess, result;
  Long verdict = 0;
  std::string status;
};

struct PlayedStory {
  Arr<Long, 10> settings{};  // as the build left them, before the clock moved the weather
  std::vector<Turn> turns;
};

std::unique_ptr<Player> MakePlayer(const Options& o, Random& playerRng) {
  switch (o.play) {
    case Play::Given:
      return std::make_unique<GivenPlayer>(o.guesses);
    case Play::Random:
      return std::make_unique<RandomPlayer>(playerRng);
    case Play::Solver:
      return std::make_unique<SolverPlayer>(playerRng);
    case Play::Best:
      return std::make_unique<BestPlayer>();
    case Play::None:
      break;
  }
  return nullptr;
}

// Builds the story as the window does (code first, then the timer's build) and plays the
// player's guesses, each one a press of OK, until the story ends or the player stops.
PlayedStory Play(StorySession& session, Player* player) {
  PlayedStory played;
  session.Load();
  session.TimerTick();
  std::copy_n(session.state().settings.begin(), played.settings.size(), played.settings.begin());
  while (player && !session.finished()) {
    std::string guess = player->Next();
    if (guess.empty()) break;
    session.PickDigits(guess);
    session.Ok();
    const StoryState& s = session.state();
    const Long n = s.attemptNo - 1;
    Turn t;
    t.guess = ToUtf8(s.guesses[n]);
    t.result = ToUtf8(s.results[n]);
    t.verdict = s.verdict;
    t.status = ToUtf8(s.statusLine);
    played.turns.push_back(t);
    player->Told(guess, s.bulls[n], s.cows[n]);
  }
  return played;
}

std::string StoryText(const StoryState& s) {
  std::string out;
  for (const Text& line : SavedLines(s)) {
    out += ToUtf8(line);
    out += '\n';
  }
  return out;
}

nlohmann::json StoryJson(std::uint64_t seed, const StorySession& session, const PlayedStory& played) {
  const StoryState& s = session.state();
  using nlohmann::json;
  json j;
  j["seed"] = seed;
  j["title"] = ToUtf8(s.title);
  json settings = json::array();
  for (int i = 1; i <= 10; ++i) settings.push_back(played.settings[i]);
  j["settings"] = settings;
  j["plotVariant"] = s.plotVariant;
  json cast = json::array();
  for (int i = 1; i <= 10; ++i) cast.push_back(ToUtf8(s.castNames[i]));
  j["cast"] = cast;
  json questions = json::array();
  for (int i = 1; i <= 4; ++i) questions.push_back(ToUtf8(s.questions[i]));
  j["questions"] = questions;
  j["code"] = CodeText(s);
  json turns = json::array();
  for (const Turn& t : played.turns)
    turns.push_back({{"guess", t.guess}, {"result", t.result}, {"verdict", t.verdict}, {"status", t.status}});
  j["turns"] = turns;
  j["ending"] = session.finished() ? json(static_cast<int>(session.ending())) : json(nullptr);
  j["status"] = ToUtf8(s.statusLine);
  json lines = json::array();
  for (Long i = 1; i <= s.lineCount; ++i) lines.push_back(ToUtf8(s.textLines[i]));
  j["lines"] = lines;
  json facts = json::array();
  for (Long i = 1; i <= s.factCount; ++i) facts.push_back(ToUtf8(s.facts[i]));
  j["facts"] = facts;
  return j;
}

// The session's source of chance, set to a story's seed each time the session reseeds, as the
// window's is at each new story.
class StorySeeds final : public Random {
 public:
  void Use(std::uint64_t seed) { seed_ = seed; }
  void Reseed() { gen_.emplace(seed_); }
  double Rnd() override { return gen_->Rnd(); }

 private:
  std::uint64_t seed_ = 0;
  std::optional<SeededRandom> gen_;
};

int RunStories(const Options& o, const DataDir& dir, std::ostream& out) {
  const std::uint64_t first = o.seed.value_or(ClockSeed());
  std::vector<double> ms;
  // One session for the batch, as one window keeps it for all its stories, each begun as the
  // window's new story button begins it.
  StorySeeds rng;
  StorySession session(dir, rng, [&] { rng.Reseed(); });
  const auto start = std::chrono::steady_clock::now();
  for (long i = 0; i < *o.stories; ++i) {
    const std::uint64_t seed = first + static_cast<std::uint64_t>(i);
    rng.Use(seed);
    SeededRandom playerRng(seed ^ kPlayerSeedMix);
    Options play = o;
    if (play.play == Play::None) play.play = Play::Random;
    auto player = MakePlayer(play, playerRng);
    const auto t0 = std::chrono::steady_clock::now();
    if (i > 0) session.NewStory();
    Play(session, player.get());
    const auto t1 = std::chrono::steady_clock::now();
    ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
  }
  const double total = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::sort(ms.begin(), ms.end());
  const std::size_t n = ms.size();
  const double median = n % 2 ? ms[n / 2] : (ms[n / 2 - 1] + ms[n / 2]) / 2;
  std::ostringstream line;
  line << std::fixed << std::setprecision(1) << n << " stories in " << total << " s: "
       << static_cast<double>(n) / total << " stories per second, median " << std::setprecision(3) << median
       << " ms per story (seeds " << first << ".." << first + n - 1 << ")\n";
  out << line.str();
  return 0;
}

int RunOne(const Options& o, const DataDir& dir, std::ostream& out) {
  const std::uint64_t seed = o.seed.value_or(ClockSeed());
  SeededRandom rng(seed);
  SeededRandom playerRng(seed ^ kPlayerSeedMix);
  auto player = MakePlayer(o, playerRng);
  StorySession session(dir, rng);
  PlayedStory played = Play(session, player.get());
  if (o.saveFile) session.Save(PathFromUtf8(*o.saveFile));
  if (o.json)
    out << StoryJson(seed, session, played).dump(2) << '\n';
  else
    out << StoryText(session.state());
  return 0;
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  ParseResult parsed = ParseArgs(args);
  if (!parsed.options) {
    err << "quorbel-cli: " << parsed.error << '\n' << kUsage << '\n';
    return 2;
  }
  const Options& o = *parsed.options;
  // A full disk or a closed pipe shows only here: the output must not seem written.
  auto written = [&](int status) {
    if (out.flush()) return status;
    err << "quorbel-cli: cannot write the output\n";
    return 1;
  };
  if (o.help) {
    out << kUsage << '\n' << kHelp << '\n';
    return written(0);
  }
  if (o.version) {
    out << "quorbel-cli " QUORBEL_VERSION "\n";
    return written(0);
  }
  const PlacesChoice where = ChoosePlaces(PathFromUtf8(o.dataDir), CurrentSurroundings());
  if (!where.places) {
    err << "quorbel-cli: " << NoMaterialMessage(where.looked) << '\n';
    return 1;
  }
  const DataDir dir = OpenPlaces(*where.places);
  try {
    const int status = o.check ? RunCheck(dir, out)
                       : o.audit ? RunAudit(o, dir, out)
                       : o.stories ? RunStories(o, dir, out)
                                   : RunOne(o, dir, out);
    return written(status);
  } catch (const DataError& e) {
    err << "quorbel-cli: " << e.what() << '\n';
    return 1;
  } catch (const std::exception& e) {
    err << "quorbel-cli: " << e.what() << '\n';
    return 1;
  }
}

}  // namespace quorbel::cli
