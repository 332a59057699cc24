#include "cli/check/Check.h"

#include "story/MaterialFiles.h"
#include "story/PlotBuilder.h"

namespace quorbel::cli::check {

int Checker::CheckVariants(const std::string& rel) {
  auto f = Load(rel);
  const VariantFile file = ParseVariantFile(*f);
  int count = 0;
  bool whole = true;
  for (const Variant& v : file.variants) {
    if (TrailingEmptyLines(*f, v.line, rel)) {
      whole = false;
      break;
    }
    ++count;
    if (!WholeNumber(v.weightText))
      Error(rel, v.weightLine, "the weight " + Quoted(v.weightText) + " must be a whole number 0 or more");
  }
  if (whole && file.fault) {
    whole = false;
    if (TrailingEmptyLines(*f, file.fault->recordLine, rel)) {
    } else if (file.fault->atEnd) {
      Error(rel, file.fault->recordLine, "a variant without its weight");
    } else {
      Error(rel, file.fault->error.line(), file.fault->error.problem());
      return 0;
    }
  }
  if (count == 0) {
    Error(rel, 1, "no plot variant");
  } else if (whole) {
    // The story's own reading decides what it rejects, so both say the same.
    try {
      VariantTotal(file);
    } catch (const DataError& e) {
      Error(rel, e.line(), e.problem());
    }
  }
  return count;
}

}  // namespace quorbel::cli::check
