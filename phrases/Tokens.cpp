#include "phrases/Tokens.h"

#include <algorithm>
#include <utility>

#include "phrases/TextPieces.h"

namespace quorbel::phrases {
namespace {

constexpr TextView kSuspect = u"_sus";
constexpr TextView kCastMember = u"_npc";
constexpr TextView kCall = u"_call";

// The leftmost token at or after from; from moves past the text searched. A token that an
// append or a replacement completes starts at most its length - 1 before the change, which
// ChangedFrom allows for.
std::size_t FindToken(TextView buffer, TextView token, std::size_t& from) {
  const std::size_t p = from < buffer.size() ? buffer.find(token, from) : Text::npos;
  from = p == Text::npos ? buffer.size() : p;
  return p;
}

std::size_t Before(std::size_t at, TextView token) { return at >= token.size() - 1 ? at - (token.size() - 1) : 0; }

// castForms(n) without its final code character; n = 0 means member 10.
Text CastMember(const StoryState& s, int n) {
  if (n == 0) n = 10;
  return AllButLast(s.castForms[n]);
}

// The digit right after a five-character token, 0 when there is none.
int DigitAfter(TextView buffer, std::size_t token) {
  return token + 4 < buffer.size() ? DigitValue(buffer[token + 4]) : 0;
}

void Replace(Text& buffer, std::size_t at, std::size_t count, TextView with, TokenScan& scan) {
  const std::size_t removed = std::min(count, buffer.size() - at);
  buffer.replace(at, removed, with);
  scan.Replaced(buffer, at, removed, with.size());
}

void ReplaceSuspect(const StoryState& s, Text& buffer, TokenScan& scan) {
  std::size_t p = FindToken(buffer, kSuspect, scan.suspect);
  if (p == Text::npos) return;
  int position = DigitAfter(buffer, p);
  int member = 0;  // an empty guess, a position beyond it and position 0 all name member 10
  Long last = s.attemptNo - 1;
  if (position >= 1 && last >= 0 && last <= 10) {
    const Text& guess = s.guesses[last];
    const auto at = static_cast<std::size_t>(position);
    if (at <= guess.size()) member = DigitValue(guess[at - 1]);
  }
  Replace(buffer, p, 5, CastMember(s, member), scan);
}

void ReplaceCastMember(const StoryState& s, Text& buffer, TokenScan& scan) {
  std::size_t p = FindToken(buffer, kCastMember, scan.castMember);
  if (p == Text::npos) return;
  Replace(buffer, p, 5, CastMember(s, DigitAfter(buffer, p)), scan);
}

// Takes a line out of the shade group titled title. False when no group has that title or the
// group has no lines left; then nothing is drawn.
bool DrawShadeLine(StoryState& s, Random& rng, TextView title, Text& line) {
  if (title.empty()) return false;
  for (std::size_t k = 1; k <= static_cast<std::size_t>(kMaxShadeGroups); ++k) {
    if (s.shadeTitles[k].empty()) return false;
    if (s.shadeTitles[k] != title) continue;
    Long count = std::min<Long>(s.shadeCounts[k], kMaxShadeLines);
    if (count <= 0) return false;
    Long r = std::clamp<Long>(Int(rng.Rnd() * count) + 1, 1, count);
    auto& lines = s.shadeLines[k];
    // The lines after it move up by one; what is left past the group's new count is no line of it.
    line = std::move(lines[static_cast<std::size_t>(r)]);
    if (s.observer) s.observer->ShadeDrawn(Text(title), line);
    for (Long j = r; j < count; ++j)
      lines[static_cast<std::size_t>(j)] = std::move(lines[static_cast<std::size_t>(j + 1)]);
    s.shadeCounts[k] = count - 1;
    return true;
  }
  return false;
}

void ReplaceShadeCall(StoryState& s, Random& rng, Text& buffer, TokenScan& scan) {
  std::size_t p = FindToken(buffer, kCall, scan.call);
  if (p == Text::npos) return;
  // "_call", one character not read, the title, ")" and the flag.
  std::size_t argStart = p + 6;
  std::size_t close = argStart < buffer.size() ? buffer.find(u')', argStart) : Text::npos;
  if (close == Text::npos) throw TokenError();
  std::size_t argEnd = std::min(close + 2, buffer.size());
  TextView arg = TextView(buffer).substr(argStart, argEnd - argStart);
  Text title(arg.substr(0, arg.size() >= 2 ? arg.size() - 2 : 0));
  char16_t flag = arg.back();

  Text line;
  bool replaced = false;
  if (flag == u'1') replaced = DrawShadeLine(s, rng, title, line);
  Long roll = Int(rng.Rnd() * 100);
  if (flag == u'0' && roll < 50) replaced = DrawShadeLine(s, rng, title, line);
  Replace(buffer, p, 6 + arg.size(), replaced ? line : Text(), scan);
}

}  // namespace

bool HasUnclosedCall(TextView text) {
  for (std::size_t p = text.find(kCall); p != TextView::npos; p = text.find(kCall, p + 1)) {
    std::size_t argStart = p + 6;
    if (argStart >= text.size() || text.find(u')', argStart) == TextView::npos) return true;
  }
  return false;
}

void TokenScan::ChangedFrom(std::size_t at) {
  suspect = std::min(suspect, Before(at, kSuspect));
  castMember = std::min(castMember, Before(at, kCastMember));
  call = std::min(call, Before(at, kCall));
}

void TokenScan::Replaced(TextView buffer, std::size_t at, std::size_t removed, std::size_t inserted) {
  auto update = [&](std::size_t& from, TextView token) {
    const std::size_t back = Before(at, token);
    if (from <= back) return;  // the text before the change holds no token up to from, as before
    if (from < at + removed) {
      from = back;
      return;
    }
    // The search had passed the change: a token starts in the changed text (or just before it),
    // or not before where the search had stopped.
    const std::size_t end = std::min(at + inserted + token.size() - 1, buffer.size());
    const std::size_t p = buffer.substr(back, end - back).find(token);
    from = p == TextView::npos ? from - removed + inserted : back + p;
  };
  update(suspect, kSuspect);
  update(castMember, kCastMember);
  update(call, kCall);
}

unsigned TokensIn(TextView text) {
  return (text.find(kSuspect) != TextView::npos ? 1u : 0u) | (text.find(kCastMember) != TextView::npos ? 2u : 0u) |
         (text.find(kCall) != TextView::npos ? 4u : 0u);
}

void TokenScan::Appended(TextView buffer, std::size_t at, bool tokenFree) { Appended(buffer, at, tokenFree ? 0u : 7u); }

void TokenScan::Appended(TextView buffer, std::size_t at, unsigned held) {
  auto skip = [&](std::size_t& from, TextView token, unsigned bit) {
    const std::size_t back = Before(at, token);
    if (held & bit) {
      from = std::min(from, back);
      return;
    }
    if (from < at) return;  // the search has not reached the appended text yet
    const std::size_t mark = buffer.substr(back, at - back).find(u'_');
    from = mark == TextView::npos ? buffer.size() : back + mark;
  };
  skip(suspect, kSuspect, 1);
  skip(castMember, kCastMember, 2);
  skip(call, kCall, 4);
}

void SubstituteTokens(StoryState& s, Random& rng, Text& buffer, TokenScan& scan) {
  ReplaceSuspect(s, buffer, scan);
  ReplaceCastMember(s, buffer, scan);
  ReplaceShadeCall(s, rng, buffer, scan);
}

void SubstituteTokens(StoryState& s, Random& rng, Text& buffer) {
  TokenScan scan;
  SubstituteTokens(s, rng, buffer, scan);
}

}  // namespace quorbel::phrases
