#pragma once
// Small text helpers shared by the phrase engine's stages. Every one of them is safe at any
// position: a piece that runs past the end is cut short, one that starts past it is empty.
#include <cstddef>

#include "story/Text.h"

namespace quorbel::phrases {

// The characters at 1-based positions start .. start + length - 1 that exist.
inline TextView Mid(TextView text, std::size_t start, std::size_t length) {
  if (start < 1 || start > text.size()) return {};
  return text.substr(start - 1, length);
}

// The characters from 1-based position start to the end.
inline TextView MidToEnd(TextView text, std::size_t start) {
  if (start < 1 || start > text.size()) return {};
  return text.substr(start - 1);
}

// The value of one character read as a number: a digit, or 0 for anything else.
inline int DigitValue(char16_t c) { return c >= u'0' && c <= u'9' ? c - u'0' : 0; }

inline bool StartsWith(TextView text, TextView prefix) { return text.substr(0, prefix.size()) == prefix; }

// The text without its last character (empty stays empty).
inline Text AllButLast(TextView text) { return Text(text.substr(0, text.empty() ? 0 : text.size() - 1)); }

}  // namespace quorbel::phrases
