#include "story/Text.h"

#include <array>

namespace quorbel {
namespace {

// Unicode code points of the bytes 0x80..0xFF of Windows-1251; 0 marks the one undefined byte.
constexpr std::array<char16_t, 128> kHigh = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039,
    0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0000, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408,
    0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB,
    0x0458, 0x0405, 0x0455, 0x0457,
    // 0xC0..0xFF: А..я in alphabet order (without Ё/ё, which sit above)
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B,
    0x041C, 0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433,
    0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B,
    0x044C, 0x044D, 0x044E, 0x044F};

}  // namespace

std::optional<Text> DecodeCp1251(std::string_view bytes, std::size_t* badOffset) {
  // One character for each byte, written in place: the whole material passes through here.
  Text out(bytes.size(), u'\0');
  char16_t* to = out.data();
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      to[i] = static_cast<char16_t>(b);
    } else {
      char16_t c = kHigh[b - 0x80];
      if (c == 0) {
        if (badOffset) *badOffset = i;
        return std::nullopt;
      }
      to[i] = c;
    }
  }
  return out;
}

std::optional<std::string> EncodeCp1251(TextView text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    if (c >= 0x0410 && c <= 0x044F) {
      out.push_back(static_cast<char>(0xC0 + (c - 0x0410)));
      continue;
    }
    bool found = false;
    for (std::size_t k = 0; k < 64; ++k) {
      if (kHigh[k] == c && c != 0) {
        out.push_back(static_cast<char>(0x80 + k));
        found = true;
        break;
      }
    }
    if (!found) return std::nullopt;
  }
  return out;
}

Text FromUtf8(std::string_view s) {
  Text out;
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    auto b = static_cast<unsigned char>(s[i]);
    char32_t cp = 0xFFFD;
    std::size_t len = 1;
    if (b < 0x80) {
      cp = b;
    } else if ((b & 0xE0) == 0xC0 && i + 1 < s.size()) {
      cp = ((b & 0x1Fu) << 6) | (static_cast<unsigned char>(s[i + 1]) & 0x3Fu);
      len = 2;
    } else if ((b & 0xF0) == 0xE0 && i + 2 < s.size()) {
      cp = ((b & 0x0Fu) << 12) | ((static_cast<unsigned char>(s[i + 1]) & 0x3Fu) << 6) |
           (static_cast<unsigned char>(s[i + 2]) & 0x3Fu);
      len = 3;
    } else if ((b & 0xF8) == 0xF0 && i + 3 < s.size()) {
      cp = 0xFFFD;  // outside the BMP: not a character the story material can hold
      len = 4;
    }
    for (std::size_t k = 1; k < len; ++k) {
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) {
        cp = 0xFFFD;
        len = k;
        break;
      }
    }
    out.push_back(static_cast<char16_t>(cp));
    i += len;
  }
  return out;
}

std::string ToUtf8(TextView text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (char16_t c : text) {
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

std::string Quoted(TextView text) {
  // A misplaced line can run for pages, and a control character would garble the terminal.
  constexpr std::size_t kShown = 80;
  const bool cut = text.size() > kShown;
  const TextView shown = cut ? text.substr(0, kShown - 1) : text;
  std::string out = "\"";
  for (char16_t c : shown) {
    if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
      static constexpr char kHex[] = "0123456789ABCDEF";
      out += "\\x";
      out.push_back(kHex[(c >> 4) & 0xF]);
      out.push_back(kHex[c & 0xF]);
    } else {
      out += ToUtf8(TextView(&c, 1));
    }
  }
  if (cut) out += "\u2026";
  out += "\"";
  return out;
}

bool IsLetter(char16_t c) {
  return (c >= u'А' && c <= u'я') || c == u'ё' || c == u'Ё' || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool IsVowel(char16_t c, bool latin) {
  static constexpr TextView kRussian = u"аеёиоуыэюяАЕЁИОУЫЭЮЯ", kLatin = u"aeiouyAEIOUY";
  return kRussian.find(c) != TextView::npos || (latin && kLatin.find(c) != TextView::npos);
}

}  // namespace quorbel
