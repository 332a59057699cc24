#include "app/Messages.h"

#include <new>

#include "story/DataError.h"
#include "story/Problems.h"

namespace quorbel {

std::string RussianProblem(std::string_view problem) {
  if (const auto known = ProblemOfText(problem)) return known->Russian();
  return "ошибка в данных";
}

std::string FaultText(const std::exception& e) {
  if (const auto* d = dynamic_cast<const DataError*>(&e)) {
    std::string where = d->file();
    if (d->line() > 0) where += ", строка " + std::to_string(d->line());
    return where + ": " + (d->known() ? d->known()->Russian() : RussianProblem(d->problem())) + ".";
  }
  if (dynamic_cast<const std::bad_alloc*>(&e)) return "не хватило памяти.";
  return RussianProblem(e.what()) + ".";
}

}  // namespace quorbel
