#include "app/StoryNumber.h"

#include <charconv>
#include <string>

namespace quorbel {

void NumberedRandom::Reseed(std::uint64_t fresh) {
  number_ = asked_.value_or(fresh);
  asked_.reset();
  rng_ = SeededRandom(number_);
}

std::uint64_t FreshStoryNumber(std::uint64_t clockTicks) { return 1000000 + clockTicks % 9000000; }

Text StoryNumberCaption(std::uint64_t number) { return u"Рассказ № " + FromUtf8(std::to_string(number)); }

std::optional<std::uint64_t> ParseStoryNumber(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
  std::uint64_t n = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return n;
}

}  // namespace quorbel
