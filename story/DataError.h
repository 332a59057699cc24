#pragma once
#include <optional>
#include <stdexcept>
#include <string>

#include "story/Problems.h"

namespace quorbel {

// A fault in the story material or another file the program reads or writes.
// what() reads "FILE: line N: problem", or "FILE: problem" when no line applies.
class DataError : public std::runtime_error {
 public:
  // One of the engine's problems, with the values its wordings name.
  DataError(std::string file, int line, Problem problem)
      : std::runtime_error(Format(file, line, problem.English())),
        file_(std::move(file)),
        line_(line),
        problem_(problem.English()),
        known_(std::move(problem)) {}
  template <typename... Values>
  DataError(std::string file, int line, ProblemId id, const Values&... values)
      : DataError(std::move(file), line, Problem::Of(id, values...)) {}
  // A problem worded elsewhere.
  DataError(std::string file, int line, std::string problem)
      : std::runtime_error(Format(file, line, problem)),
        file_(std::move(file)),
        line_(line),
        problem_(std::move(problem)) {}

  const std::string& file() const { return file_; }
  int line() const { return line_; }                       // 0 when the fault is not on one line
  const std::string& problem() const { return problem_; }  // in English
  // Which of the engine's problems it is; nothing for one worded elsewhere.
  const std::optional<Problem>& known() const { return known_; }

 private:
  static std::string Format(const std::string& file, int line, const std::string& problem) {
    if (line > 0) return file + ": line " + std::to_string(line) + ": " + problem;
    return file + ": " + problem;
  }
  std::string file_;
  int line_;
  std::string problem_;
  std::optional<Problem> known_;
};

}  // namespace quorbel
