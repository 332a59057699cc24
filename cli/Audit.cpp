#include "cli/Audit.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iomanip>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <vector>

#include "app/StorySession.h"
#include "cli/Players.h"
#include "phrases/PhraseFile.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsModel.h"
#include "story/ChoiceObserver.h"
#include "story/DataError.h"
#include "story/Episodes.h"
#include "story/MaterialFiles.h"

namespace quorbel::cli {

namespace {

namespace fs = std::filesystem;

enum class Kind { Phrase, Episode, Final, Shade, Question };
constexpr int kKinds = 4;  // finals are counted with the episode records
const char* const kKindNames[kKinds] = {"phrase records", "episode records", "shade lines", "questions"};
int Slot(Kind k) { return k == Kind::Phrase ? 0 : k == Kind::Shade ? 2 : k == Kind::Question ? 3 : 1; }
const char* KindName(Kind k) {
  switch (k) {
    case Kind::Phrase: return "phrase";
    case Kind::Episode: return "episode";
    case Kind::Final: return "final";
    case Kind::Shade: return "shade";
    case Kind::Question: return "question";
  }
  return "";
}

struct Item {
  Kind kind;
  std::string file;
  int line = 0;
  Long group = 0;  // the ending kind of a final record
  Text title;      // the group title of a shade line
  long chosen = 0;
  long eligible = 0;
};

// Every record of the material, in file and line order.
class Catalogue {
 public:
  explicit Catalogue(const DataDir& dir) {
    std::vector<fs::path> folders;
    for (const auto& e : fs::directory_iterator(dir.root()))
      if (e.is_directory() && fs::is_regular_file(e.path() / ToUtf8(kThemeCatalogue))) folders.push_back(e.path());
    std::sort(folders.begin(), folders.end());
    for (const fs::path& folder : folders) {
      std::vector<std::string> names;
      for (const auto& e : fs::directory_iterator(folder))
        if (e.is_regular_file() && e.path().extension() == ".qrb") names.push_back(e.path().filename().string());
      std::sort(names.begin(), names.end());
      const std::string style = folder.filename().string();
      for (const std::string& name : names) Read(dir, style, name);
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
      at[{items[i].file, items[i].line}] = i;
      if (items[i].kind == Kind::Shade) shades[{StyleOf(items[i].file), items[i].title, lines[i]}].push_back(i);
    }
  }

  static std::string StyleOf(const std::string& file) { return file.substr(0, file.find('/') + 1); }

  std::vector<Item> items;
  std::vector<Text> lines;  // the text of a shade line, empty for the others
  std::map<std::pair<std::string, int>, std::size_t> at;
  std::map<std::tuple<std::string, Text, Text>, std::vector<std::size_t>> shades;

 private:
  void Add(Item item, Text text = {}) {
    items.push_back(std::move(item));
    lines.push_back(std::move(text));
  }

  void Read(const DataDir& dir, const std::string& style, const std::string& name) {
    const std::string rel = style + "/" + name;
    if (name == ToUtf8(kThemeCatalogue) || HasStem(name, stem::kWords) || HasStem(name, stem::kPersons) ||
        HasStem(name, stem::kVariants))
      return;
    InputFile f = dir.Open(FromUtf8(rel));
    const std::string file = f.name();
    auto scratch = std::make_unique<StoryState>();
    if (HasStem(name, stem::kFinal)) {
      const FinalFile finals = ParseFinalFile(f);
      for (const FinalText& r : finals.written) {
        AssignFinal(*scratch, finals, r);
        Add({Kind::Final, file, r.line, scratch->recGroup, {}});
      }
      if (finals.cut) throw finals.cut->error;
    } else if (HasStem(name, stem::kOpening) || HasStem(name, stem::kMain)) {
      const EpisodeFile episodes = ParseEpisodeFile(f);
      for (const EpisodeRecord& r : episodes.records) Add({Kind::Episode, file, r.line, r.group, {}});
      if (episodes.fault) throw *episodes.fault;
    } else if (HasStem(name, stem::kShades)) {
      const ShadeFile shades = ParseShadeFile(f);
      for (const ShadeGroup& g : shades.groups)
        for (const auto& l : g.lines) Add({Kind::Shade, file, l.line, 0, g.title}, l.text);
      if (shades.fault) throw shades.fault->error;
    } else if (HasStem(name, stem::kQuestions)) {
      const QuestionFile questions = ParseQuestionFile(f);
      for (const auto& q : questions.questions)
        if (!q.text.empty()) Add({Kind::Question, file, q.line, 0, {}});
    } else {
      // A phrase file: each record is known by its key, the second of its lines.
      for (const phrases::PhraseRecord& r : phrases::ParsePhraseFile(f).records)
        Add({Kind::Phrase, file, r.line + 1, 0, {}});
    }
  }
};

class Counter final : public ChoiceObserver {
 public:
  explicit Counter(Catalogue& c) : c_(c) {}
  const StoryState* story = nullptr;
  std::map<std::string, long> opened;

  void FileOpened(const std::string& file) override { ++opened[file]; }
  void Eligible(const std::string& file, int line) override {
    if (auto it = c_.at.find({file, line}); it != c_.at.end()) ++c_.items[it->second].eligible;
  }
  void Chosen(const std::string& file, int line) override {
    if (auto it = c_.at.find({file, line}); it != c_.at.end()) ++c_.items[it->second].chosen;
  }
  void ShadeDrawn(const Text& title, const Text& line) override {
    if (!story) return;
    auto it = c_.shades.find({ToUtf8(story->styleFolder), title, line});
    if (it == c_.shades.end()) return;
    // The same line twice in a group: count the first one not yet reached.
    std::size_t pick = it->second.front();
    for (std::size_t i : it->second)
      if (c_.items[i].chosen == 0) {
        pick = i;
        break;
      }
    ++c_.items[pick].chosen;
  }

 private:
  Catalogue& c_;
};

// Wins on the eighth guess, which a fair player does too rarely for the audit to see the
// endings of a narrow win: it knows the code and misses it seven times first.
class LateWinner final : public Player {
 public:
  LateWinner(std::string code, Random& rng) : code_(std::move(code)), misses_(rng) {}
  std::string Next() override {
    if (++turn_ == 8) return code_;
    std::string g;
    do g = misses_.Next();
    while (g == code_);
    return g;
  }

 private:
  std::string code_;
  RandomPlayer misses_;
  int turn_ = 0;
};

// A settings file of the audit's own, in a temporary folder, written before each story: the
// reader's "quorbel.cfg" stays as it is, and nothing lands among their files.
class AuditSettings {
 public:
  AuditSettings() {
    // create_directory reports whether it made the folder, so a name already taken (another
    // audit running) is skipped rather than shared; mkdtemp would do it but Windows lacks it.
    const fs::path base = fs::temp_directory_path();
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 100; ++attempt) {
      fs::path candidate = base / ("quorbel-audit-" + std::to_string(stamp) + "-" + std::to_string(attempt));
      std::error_code ec;
      if (fs::create_directory(candidate, ec)) {
        path_ = candidate;
        return;
      }
    }
    throw std::runtime_error("cannot make a temporary folder for the audit");
  }
  ~AuditSettings() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  AuditSettings(const AuditSettings&) = delete;
  AuditSettings& operator=(const AuditSettings&) = delete;
  const fs::path& folder() const { return path_; }
  // Settings as a reader might choose them: every condition list at a random entry (its
  // "random" entry among them) and the freeze box at random; style, theme and absurdity are
  // left to the story. Weather that the story's own draws make rare (heavy rain, hence hail
  // and thunderstorms) then comes up often enough to be seen.
  void Draw(Random& rng) const {
    SettingsValues v{};
    for (int c = 4; c <= 9; ++c)
      v[static_cast<std::size_t>(c)] = Int(rng.Rnd() * static_cast<double>(ConditionEntries(c).size()));
    v[10] = Int(rng.Rnd() * 2);
    WriteSettingsFile(path_ / kSettingsFileName, v);
  }

 private:
  fs::path path_;
};

std::string Times(long n) { return n == 1 ? "once" : std::to_string(n) + " times"; }

std::string Reason(const Item& it, const Catalogue& c, const Counter& counter, long stories) {
  auto anyChosen = [&](auto same) {
    return std::any_of(c.items.begin(), c.items.end(), [&](const Item& o) { return same(o) && o.chosen > 0; });
  };
  const auto sameFile = [&](const Item& o) { return o.file == it.file; };
  switch (it.kind) {
    case Kind::Phrase: {
      const auto op = counter.opened.find(it.file);
      if (op == counter.opened.end()) return "its file was never opened: no chosen episode names it";
      if (it.eligible == 0)
        return "its conditions (or its plan's level) never met in " + std::to_string(stories) +
               " stories; the file was opened " + Times(op->second);
      return "its group always won by another record (eligible " + Times(it.eligible) + ")";
    }
    case Kind::Episode:
      if (!anyChosen(sameFile)) return "its file was never played: its theme and plot variant never came together";
      return "its group always drew another record";
    case Kind::Final:
      if (!anyChosen(sameFile)) return "its file was never played: its theme and plot variant never came together";
      if (!anyChosen([&](const Item& o) { return sameFile(o) && o.group == it.group; }))
        return "its ending (" + std::to_string(it.group) + ") never came in this file";
      return "another record of its ending was always drawn";
    case Kind::Shade:
      if (!anyChosen([&](const Item& o) { return sameFile(o) && o.kind == Kind::Shade && o.title == it.title; }))
        return "no phrase drew from its group \"" + ToUtf8(it.title) + "\" (or the group's level never came)";
      return "its group \"" + ToUtf8(it.title) + "\" was drawn from, never this line";
    case Kind::Question:
      if (!anyChosen(sameFile)) return "its theme never came";
      return "its degree of absurdity never came with its theme";
  }
  return {};
}

}  // namespace

int RunAudit(const Options& o, const DataDir& material, std::ostream& out) {
  const long stories = o.stories.value_or(1000);
  const std::uint64_t first = o.seed.value_or(1);
  if (!material.Exists(kStyleCatalogue)) throw DataError(ToUtf8(kStyleCatalogue), 0, ProblemId::FileNotFound);
  const AuditSettings settings;
  const DataDir dir(material.root(), settings.folder(), settings.folder());
  Catalogue catalogue(dir);
  Counter counter(catalogue);
  std::vector<std::string> faults;
  for (long i = 0; i < stories; ++i) {
    const std::uint64_t seed = first + static_cast<std::uint64_t>(i);
    SeededRandom rng(seed);
    // The reader's guesses come from a generator of their own: random, solver, hint and a late
    // winner in turn, so that quick wins, last-guess wins and defeats all come up.
    SeededRandom playerRng(seed ^ 0x9E3779B97F4A7C15ULL);
    SeededRandom settingsRng(seed ^ 0xC2B2AE3D27D4EB4FULL);
    settings.Draw(settingsRng);
    StorySession session(dir, rng);
    session.state().observer = &counter;
    counter.story = &session.state();
    try {
      session.Load();
      session.TimerTick();
      std::unique_ptr<Player> player;
      if (i % 4 == 0) player = std::make_unique<RandomPlayer>(playerRng);
      else if (i % 4 == 1) player = std::make_unique<SolverPlayer>(playerRng);
      else if (i % 4 == 2) player = std::make_unique<BestPlayer>();
      else player = std::make_unique<LateWinner>(CodeText(session.state()), playerRng);
      while (!session.finished()) {
        const std::string guess = player->Next();
        if (guess.empty()) break;
        session.PickDigits(guess);
        session.Ok();
        const StoryState& s = session.state();
        const auto n = static_cast<std::size_t>(s.attemptNo - 1);
        player->Told(guess, s.bulls[n], s.cows[n]);
      }
    } catch (const DataError& e) {
      faults.push_back("story " + std::to_string(seed) + ": " + e.what());
    }
  }

  std::array<long, kKinds> reached{}, total{};
  for (const Item& it : catalogue.items) {
    ++total[static_cast<std::size_t>(Slot(it.kind))];
    if (it.chosen > 0) ++reached[static_cast<std::size_t>(Slot(it.kind))];
  }
  auto percent = [&](int k) {
    return total[static_cast<std::size_t>(k)] ? 100.0 * static_cast<double>(reached[static_cast<std::size_t>(k)]) /
                                                    static_cast<double>(total[static_cast<std::size_t>(k)])
                                              : 100.0;
  };

  if (o.json) {
    nlohmann::json j;
    j["stories"] = stories;
    j["seed"] = first;
    nlohmann::json records = nlohmann::json::array();
    for (const Item& it : catalogue.items) {
      nlohmann::json r = {{"file", it.file}, {"line", it.line}, {"kind", KindName(it.kind)}, {"chosen", it.chosen}};
      if (it.kind == Kind::Phrase) r["eligible"] = it.eligible;
      if (it.chosen == 0) r["reason"] = Reason(it, catalogue, counter, stories);
      records.push_back(r);
    }
    j["records"] = records;
    nlohmann::json summary;
    for (int k = 0; k < kKinds; ++k)
      summary[kKindNames[k]] = {{"reached", reached[static_cast<std::size_t>(k)]}, {"total", total[static_cast<std::size_t>(k)]}};
    j["summary"] = summary;
    j["faults"] = faults;
    out << j.dump(2) << '\n';
  } else {
    std::ostringstream text;
    text << "audit of " << stories << " stories, seeds " << first << ".." << first + static_cast<std::uint64_t>(stories) - 1
         << ", settings at random\n";
    for (const Item& it : catalogue.items) {
      text << it.file << ':' << it.line << ' ' << KindName(it.kind) << " chosen " << it.chosen;
      if (it.kind == Kind::Phrase) text << " eligible " << it.eligible;
      text << '\n';
    }
    text << "never chosen:\n";
    for (const Item& it : catalogue.items)
      if (it.chosen == 0)
        text << it.file << ':' << it.line << ' ' << KindName(it.kind) << ": " << Reason(it, catalogue, counter, stories)
             << '\n';
    for (const std::string& f : faults) text << "fault: " << f << '\n';
    text << std::fixed << std::setprecision(1);
    for (int k = 0; k < kKinds; ++k)
      text << kKindNames[k] << ": " << reached[static_cast<std::size_t>(k)] << " of " << total[static_cast<std::size_t>(k)]
           << " reached (" << percent(k) << " %)\n";
    out << text.str();
  }
  return faults.empty() ? 0 : 1;
}

}  // namespace quorbel::cli
