#pragma once
// The material checker: reads a whole material folder the way the program reads it and reports
// what would make a story fail, misbehave or silently lose text.
#include <iosfwd>

#include "story/TextFile.h"

namespace quorbel::cli {

// Checks the folder and prints one line per finding, "FILE:LINE: error: message" or
// "FILE:LINE: warning: message" (FILE relative to the folder), errors first, then the summary
// "N errors, M warnings". Returns 1 when there is an error, else 0.
int RunCheck(const quorbel::DataDir& dir, std::ostream& out);

}  // namespace quorbel::cli
