#include "cli/check/Check.h"

#include <set>

#include "story/MaterialFiles.h"
#include "story/StoryState.h"

namespace quorbel::cli::check {

void Checker::CheckPersons(const std::string& rel) {
  auto f = Load(rel);
  const PersonFile file = ParsePersonFile(*f);
  std::set<Text> distinct;
  int count = 0;
  if (file.persons.empty() && !file.fault) Error(rel, 1, "no person");
  for (const Item& person : file.persons) {
    const Text& entry = person.text;
    if (++count == kMaxPersons + 1) Error(rel, person.line, "more than " + std::to_string(kMaxPersons) + " persons");
    if (entry.size() < 2) {
      Error(rel, person.line, "a person entry needs a name and a code character: " + Quoted(entry));
      continue;
    }
    distinct.insert(entry);
    CheckBreaks(rel, person.line, TextView(entry).substr(0, entry.size() - 1));
  }
  if (file.fault) {
    Error(rel, file.fault->error.line(), file.fault->error.problem());
    return;
  }
  if (count > 0 && distinct.size() < 10)
    Error(rel, 1, "only " + std::to_string(distinct.size()) + " distinct persons; a cast needs ten");
}

}  // namespace quorbel::cli::check
