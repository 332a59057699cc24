#pragma once
// Story text is held as UTF-16 with one element per character: every character of
// Windows-1251 lies in the Basic Multilingual Plane, and the text finishing counts characters.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorbel {

using Text = std::u16string;
using TextView = std::u16string_view;

// Windows-1251 bytes to text. Returns nothing if a byte is undefined in the code page (0x98),
// with its offset in badOffset.
std::optional<Text> DecodeCp1251(std::string_view bytes, std::size_t* badOffset = nullptr);
// Text to Windows-1251 bytes; nothing if a character has no Windows-1251 byte.
std::optional<std::string> EncodeCp1251(TextView text);

Text FromUtf8(std::string_view utf8);  // malformed sequences become U+FFFD
std::string ToUtf8(TextView text);
// Text from a file as a message quotes it: in double quotes, control characters written as
// \xNN, and more than 80 characters cut short with "…".
std::string Quoted(TextView text);
// Shorthand for building Text from UTF-8 literals in code and tests.
inline Text T(std::string_view utf8) { return FromUtf8(utf8); }

// A letter of the Russian or the Latin alphabet, either case.
bool IsLetter(char16_t c);
// A Russian vowel, either case; with latin, a Latin one (a, e, i, o, u, y) too.
bool IsVowel(char16_t c, bool latin = false);

// True when the text contains what.
inline bool Contains(TextView text, TextView what) { return text.find(what) != TextView::npos; }

}  // namespace quorbel
