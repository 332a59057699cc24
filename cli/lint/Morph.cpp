#include "cli/lint/Morph.h"

#ifndef _WIN32
#include <unistd.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace quorbel::lint {
#ifndef _WIN32
namespace {

#ifdef QUORBEL_LT_PROC
const char* const kLtProc = QUORBEL_LT_PROC;
const char* const kAutomorf = QUORBEL_AUTOMORF;
#else
const char* const kLtProc = "";
const char* const kAutomorf = "";
#endif

// One temporary file, removed with its owner.
struct TempFile {
  std::string path;
  TempFile() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quorbel-lint-XXXXXX").string();
    int fd = mkstemp(pattern.data());
    if (fd >= 0) {
      close(fd);
      path = pattern;
    }
  }
  ~TempFile() {
    if (!path.empty()) std::remove(path.c_str());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
};

// "^word/lemma<tags>/lemma<tags>$" to readings; an unknown word ("^word/*word$") has none.
std::vector<Reading> ParseUnit(const std::string& unit) {
  std::vector<Reading> out;
  std::size_t slash = unit.find('/');
  while (slash != std::string::npos) {
    std::size_t next = unit.find('/', slash + 1);
    std::string r = unit.substr(slash + 1, next == std::string::npos ? std::string::npos : next - slash - 1);
    slash = next;
    if (r.empty() || r[0] == '*') continue;
    std::size_t lt = r.find('<');
    Reading reading;
    reading.lemma = FromUtf8(r.substr(0, lt));
    if (lt != std::string::npos) reading.tags = r.substr(lt);
    out.push_back(std::move(reading));
  }
  return out;
}

}  // namespace

#endif

void Morph::Analyse(const std::set<Text>& words) {
#ifdef _WIN32
  (void)words;  // no analyser to start: the linter checks without morphology
#else
  std::error_code ec;
  if (*kLtProc == 0 || !std::filesystem::exists(kLtProc, ec) || !std::filesystem::exists(kAutomorf, ec)) return;
  TempFile in, out;
  if (in.path.empty() || out.path.empty()) return;
  std::vector<const Text*> order;
  {
    std::ofstream f(in.path, std::ios::binary);
    for (const Text& w : words) {
      f << ToUtf8(w) << '\n';
      order.push_back(&w);
    }
  }
  std::string command = std::string("'") + kLtProc + "' -a '" + kAutomorf + "' < '" + in.path + "' > '" +
                        out.path + "' 2>/dev/null";
  if (std::system(command.c_str()) != 0) return;
  std::ifstream f(out.path, std::ios::binary);
  std::string line;
  std::size_t k = 0;
  while (std::getline(f, line) && k < order.size()) {
    const Text& word = *order[k++];
    // A word the analyser splits into several units gets no reading rather than a wrong one.
    if (line.size() < 2 || line.front() != '^' || line.find('^', 1) != std::string::npos) continue;
    std::size_t end = line.rfind('$');
    readings_[word] = ParseUnit(line.substr(1, end == std::string::npos ? std::string::npos : end - 1));
  }
  available_ = k == order.size();
#endif
}

const std::vector<Reading>& Morph::Of(const Text& lowerWord) const {
  static const std::vector<Reading> none;
  auto it = readings_.find(lowerWord);
  return it == readings_.end() ? none : it->second;
}

}  // namespace quorbel::lint
