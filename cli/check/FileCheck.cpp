#include "cli/check/Check.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <system_error>

#include "story/Platform.h"
#include "view/Page.h"

namespace quorbel::cli::check {
namespace {

// Offset of the first multi-byte sequence when the whole file is valid UTF-8 and has one.
std::optional<std::size_t> Utf8MultiByte(std::string_view b) {
  std::optional<std::size_t> first;
  std::size_t i = 0;
  while (i < b.size()) {
    auto c = static_cast<unsigned char>(b[i]);
    std::size_t len = 0;
    if (c < 0x80) {
      ++i;
      continue;
    }
    if (c >= 0xC2 && c <= 0xDF)
      len = 2;
    else if (c >= 0xE0 && c <= 0xEF)
      len = 3;
    else if (c >= 0xF0 && c <= 0xF4)
      len = 4;
    else
      return std::nullopt;
    if (i + len > b.size()) return std::nullopt;
    for (std::size_t k = 1; k < len; ++k)
      if ((static_cast<unsigned char>(b[i + k]) & 0xC0) != 0x80) return std::nullopt;
    if (!first) first = i;
    i += len;
  }
  return first;
}

// Two UTF-8 Cyrillic letters in a row inside a Windows-1251 file: read as Windows-1251 they
// show as "Р°Рґ"-like pairs, which Russian text never holds.
std::optional<std::size_t> Mojibake(std::string_view b) {
  auto lead = [](unsigned char c) { return c == 0xD0 || c == 0xD1; };
  auto cont = [](unsigned char c) { return c >= 0x80 && c <= 0xBF; };
  for (std::size_t i = 0; i + 3 < b.size(); ++i) {
    auto u = [&](std::size_t k) { return static_cast<unsigned char>(b[i + k]); };
    if (lead(u(0)) && cont(u(1)) && lead(u(2)) && cont(u(3))) return i;
  }
  return std::nullopt;
}

int LineAt(std::string_view bytes, std::size_t offset) {
  return 1 + static_cast<int>(std::count(bytes.begin(), bytes.begin() + static_cast<long>(offset), '\n'));
}

}  // namespace

std::optional<InputFile> Checker::Load(const std::string& rel) {
  if (!Exists(rel)) return std::nullopt;
  std::string bytes = ReadFileBytes(dir_.PathOf(FromUtf8(rel)), rel);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) {
      Error(rel, LineAt(bytes, i), "the line ends with LF alone, not CR LF");
      break;
    }
    if (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n')) {
      Error(rel, LineAt(bytes, i), "a CR without LF");
      break;
    }
  }
  if (!bytes.empty() && bytes.back() != '\n')
    Error(rel, LineAt(bytes, bytes.size()), "the last line does not end with CR LF");
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    auto c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x20 && c != '\r' && c != '\n') {
      char hex[8];
      std::snprintf(hex, sizeof hex, "0x%02X", c);
      Error(rel, LineAt(bytes, i), std::string("a control character (") + hex + ")");
      break;
    }
  }
  Text content;
  if (auto multi = Utf8MultiByte(bytes)) {
    Error(rel, LineAt(bytes, *multi), "the file is UTF-8, not Windows-1251");
    // Checked on as if converted, so that one wrong encoding does not bury the other findings.
    content = FromUtf8(bytes);
  } else {
    if (auto moj = Mojibake(bytes)) {
      auto shown = DecodeCp1251(std::string_view(bytes).substr(*moj, 4));
      Error(rel, LineAt(bytes, *moj), "UTF-8 text in a Windows-1251 file (" + Quoted(shown ? *shown : Text()) + ")");
    }
    std::size_t bad = bytes.find('\x98');
    if (bad != std::string::npos) {
      Error(rel, LineAt(bytes, bad), "the byte 0x98, which Windows-1251 does not define");
      std::replace(bytes.begin(), bytes.end(), '\x98', '?');
    }
    content = DecodeCp1251(bytes).value_or(Text());
  }
  return InputFile::FromText(content, rel);
}

void Checker::CheckNameCase() {
  namespace fs = std::filesystem;
  std::error_code ec;
  std::vector<std::string> names;
  for (fs::recursive_directory_iterator it(dir_.root(), ec), end; !ec && it != end; it.increment(ec)) {
    std::string rel;
    for (const fs::path& part : it->path().lexically_relative(dir_.root()))
      rel += (rel.empty() ? "" : "/") + PathToUtf8(part);
    names.push_back(rel);
  }
  std::sort(names.begin(), names.end());
  std::map<Text, std::string> seen;
  for (const std::string& name : names) {
    Text folded = FromUtf8(name);
    for (char16_t& c : folded) {
      if ((c >= u'A' && c <= u'Z') || (c >= u'А' && c <= u'Я')) c = static_cast<char16_t>(c + 0x20);
      if (c == u'Ё') c = u'ё';
    }
    auto [it, fresh] = seen.emplace(folded, name);
    if (!fresh)
      Warning(name, 1, "the name differs from " + it->second + " only in case; a Windows disk keeps one of them");
  }
}

void Checker::CheckLetters() {
  std::error_code ec;
  if (!std::filesystem::is_directory(dir_.root() / kDropCapFolder, ec)) {
    Error(kDropCapFolder, 1,
          "folder not found (" + std::to_string(kDropCaps.size()) + " letter pictures " + kDropCapFolder +
              "/N.gif expected)");
    return;
  }
  for (const DropCap& cap : kDropCaps) {
    std::string rel = DropCapPicture(cap.number);
    if (!Exists(rel)) {
      Error(rel, 1, "letter picture not found");
      continue;
    }
    std::string bytes = ReadFileBytes(dir_.PathOf(FromUtf8(rel)), rel);
    if (bytes.compare(0, 4, "GIF8") != 0) Error(rel, 1, "not a GIF picture (it does not start with \"GIF8\")");
  }
}

}  // namespace quorbel::cli::check
