#pragma once
// A listener to the engine's choices, for tools that measure how the material is used. The
// engine only reports; a listener must not touch the story or draw from its generator.
#include <string>

#include "story/Text.h"

namespace quorbel {

class ChoiceObserver {
 public:
  virtual ~ChoiceObserver() = default;
  // A phrase file was opened.
  virtual void FileOpened(const std::string& /*file*/) {}
  // A phrase record passed its conditions and joined its group's candidates.
  virtual void Eligible(const std::string& /*file*/, int /*line*/) {}
  // A record (phrase, episode, shade line or question) was chosen; line is where it starts.
  virtual void Chosen(const std::string& /*file*/, int /*line*/) {}
  // A line was taken out of the shade group titled title (the loaded lines keep no file line).
  virtual void ShadeDrawn(const Text& /*title*/, const Text& /*line*/) {}
};

}  // namespace quorbel
