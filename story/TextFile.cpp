#include "story/TextFile.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <system_error>

#include "story/Numbers.h"

namespace quorbel {

std::vector<Text> SplitLines(TextView content) {
  std::vector<Text> lines;
  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t nl = content.find(u'\n', start);
    if (nl == TextView::npos) {
      lines.emplace_back(content.substr(start));
      break;
    }
    std::size_t end = nl;
    if (end > start && content[end - 1] == u'\r') --end;
    lines.emplace_back(content.substr(start, end - start));
    start = nl + 1;
  }
  return lines;
}

std::string ReadFileBytes(const std::filesystem::path& path, const std::string& displayName) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) throw DataError(displayName, 0, "file not found");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw DataError(displayName, 0, "cannot be opened");
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw DataError(displayName, 0, "cannot be read");
  return bytes;
}

InputFile InputFile::Open(const std::filesystem::path& path, std::string displayName) {
  std::string bytes = ReadFileBytes(path, displayName);
  std::size_t bad = 0;
  auto text = DecodeCp1251(bytes, &bad);
  if (!text) {
    int line = 1;
    for (std::size_t i = 0; i < bad; ++i)
      if (bytes[i] == '\n') ++line;
    throw DataError(displayName, line, "a byte that is not Windows-1251 text");
  }
  return FromText(*text, std::move(displayName));
}

InputFile InputFile::FromText(TextView content, std::string displayName) {
  return FromLines(std::make_shared<const std::vector<Text>>(SplitLines(content)), std::move(displayName));
}

InputFile InputFile::FromLines(std::shared_ptr<const std::vector<Text>> lines, std::string displayName) {
  InputFile f;
  f.lines_ = std::move(lines);
  f.name_ = std::move(displayName);
  return f;
}

Text InputFile::ReadLine() {
  if (Eof()) Fail("end of file where a line was expected");
  Text value = Line().substr(col_);
  ++line_;
  col_ = 0;
  return value;
}

Text InputFile::ReadTextField() {
  if (Eof()) Fail("end of file where a field was expected");
  const Text& line = Line();
  std::size_t i = col_;
  while (i < line.size() && line[i] == u' ') ++i;
  Text value;
  if (i < line.size() && line[i] == u'"') {
    std::size_t close = line.find(u'"', i + 1);
    if (close == Text::npos) Fail("a quoted field without its closing quote");
    value = line.substr(i + 1, close - i - 1);
    i = close + 1;
    // What follows the closing quote up to the separator is not part of the value.
    std::size_t comma = line.find(u',', i);
    i = comma == Text::npos ? line.size() : comma;
  } else {
    std::size_t comma = line.find(u',', i);
    std::size_t end = comma == Text::npos ? line.size() : comma;
    value = line.substr(i, end - i);
    i = end;
  }
  if (i < line.size()) {  // ended at a comma: the rest of the line is left for the next read
    col_ = i + 1;
  } else {
    ++line_;
    col_ = 0;
  }
  return value;
}

Long InputFile::ReadNumberField() { return LenientNumber(ReadTextField()); }

void WriteTextFile(const std::filesystem::path& path, const std::vector<Text>& lines,
                   const std::string& displayName) {
  std::string bytes;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    auto encoded = EncodeCp1251(lines[i]);
    if (!encoded)
      throw DataError(displayName, static_cast<int>(i) + 1, "a character that Windows-1251 cannot hold");
    bytes += *encoded;
    bytes += "\r\n";
  }
#ifdef _WIN32
  WindowsWriteReplacing(path, bytes, displayName);
#else
  std::filesystem::path tmp = path;
  tmp += ".tmp";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    if (!out) throw DataError(displayName, 0, "cannot be written (the folder is not writable)");
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      std::error_code ec;
      std::filesystem::remove(tmp, ec);
      throw DataError(displayName, 0, "cannot be written (disk full?)");
    }
  }
  std::error_code ec;
  std::filesystem::rename(tmp, path, ec);
  if (ec) {
    std::error_code ignored;
    std::filesystem::remove(tmp, ignored);
    throw DataError(displayName, 0, "cannot be written: " + ec.message());
  }
#endif
}

InputFile DataDir::Open(TextView relName) const {
  const std::filesystem::path path = PathOf(relName);
  std::error_code timeError, sizeError;
  const auto time = std::filesystem::last_write_time(path, timeError);
  const auto size = std::filesystem::file_size(path, sizeError);
  if (!timeError && !sizeError) {
    auto it = kept_->find(Text(relName));
    if (it != kept_->end() && it->second.time == time && it->second.size == size)
      return InputFile::FromLines(it->second.lines, ToUtf8(relName));
  }
  InputFile f = InputFile::Open(path, ToUtf8(relName));
  if (!timeError && !sizeError)
    (*kept_)[Text(relName)] = Kept{time, size, std::make_shared<const std::vector<Text>>(f.lines())};
  return f;
}

bool DataDir::Exists(TextView relName) const {
  std::error_code ec;
  return std::filesystem::is_regular_file(PathOf(relName), ec);
}

}  // namespace quorbel
