#pragma once
// The command-line front end, as a function over its arguments and streams so that it can be
// tested without a process.
#include <iosfwd>
#include <string>
#include <vector>

namespace quorbel::cli {

// Runs quorbel-cli with the given arguments (without the program name); returns the exit code.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace quorbel::cli
