// Text files, the two ways of reading them, and number text.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "TempMaterial.h"
#include "story/Numbers.h"
#include "story/TextFile.h"

namespace quorbel {
namespace {

InputFile FileOf(const char* utf8) { return InputFile::FromText(T(utf8), "test.qrb"); }

TEST(Cp1251, RoundTripsRussianTextAndRejectsTheUndefinedByte) {
  Text text = T("Ёлка, ёж и «щука» — №5");
  auto bytes = EncodeCp1251(text);
  ASSERT_TRUE(bytes);
  EXPECT_EQ(bytes->size(), text.size());  // one byte per character
  EXPECT_EQ(static_cast<unsigned char>((*bytes)[0]), 0xA8);  // Ё
  EXPECT_EQ(DecodeCp1251(*bytes), text);
  std::size_t bad = 0;
  EXPECT_FALSE(DecodeCp1251(std::string("ab\x98", 3), &bad));
  EXPECT_EQ(bad, 2u);
  EXPECT_FALSE(EncodeCp1251(u"\u4e2d"));
}

TEST(Lines, CrLfAndBareLfEndLinesAndAFinalLineEndAddsNothing) {
  EXPECT_EQ(SplitLines(u"a\r\nb\nc\r\n"), (std::vector<Text>{u"a", u"b", u"c"}));
  EXPECT_EQ(SplitLines(u"a\r\n\r\nb"), (std::vector<Text>{u"a", u"", u"b"}));
  EXPECT_TRUE(SplitLines(u"").empty());
}

TEST(ReadLine, ReadsWholeLinesUntrimmedAndFailsAtTheEnd) {
  InputFile f = FileOf("  first, line \r\n\r\nlast");
  EXPECT_EQ(f.ReadLine(), u"  first, line ");
  EXPECT_EQ(f.ReadLine(), u"");
  EXPECT_FALSE(f.Eof());
  EXPECT_EQ(f.ReadLine(), u"last");  // no final line end
  EXPECT_TRUE(f.Eof());
  try {
    f.ReadLine();
    FAIL() << "no error at the end of the file";
  } catch (const DataError& e) {
    EXPECT_STREQ(e.what(), "test.qrb: line 4: end of file where a line was expected");
  }
}

TEST(ReadField, QuotesCommasAndNumbers) {
  InputFile f = FileOf("  \"Иванов, Пётр\"  , Сидоров,-12abc\r\n\"x\"\r\n 7.5 \r\n");
  EXPECT_EQ(f.ReadTextField(), T("Иванов, Пётр"));
  EXPECT_EQ(f.ReadTextField(), T("Сидоров"));
  EXPECT_EQ(f.ReadNumberField(), -12);
  EXPECT_EQ(f.ReadTextField(), u"x");
  EXPECT_EQ(f.ReadNumberField(), 8);  // 7.5 rounds to the even 8
  EXPECT_TRUE(f.Eof());
}

TEST(ReadField, NumberThenLineReadOnTheSameOrTheNextLine) {
  InputFile same = FileOf("5,rest of line\r\nnext\r\n");
  EXPECT_EQ(same.ReadNumberField(), 5);
  EXPECT_EQ(same.ReadLine(), u"rest of line");
  EXPECT_EQ(same.ReadLine(), u"next");

  InputFile alone = FileOf("5\r\nwhole next line\r\n");
  EXPECT_EQ(alone.ReadNumberField(), 5);
  EXPECT_EQ(alone.ReadLine(), u"whole next line");
  EXPECT_TRUE(alone.Eof());
}

TEST(ReadField, EmptyLineGivesAnEmptyFieldAndUnclosedQuoteIsAnError) {
  InputFile f = FileOf("\r\n\r\n");
  EXPECT_EQ(f.ReadTextField(), u"");
  EXPECT_EQ(f.ReadNumberField(), 0);
  InputFile g = FileOf("\"open\r\n");
  EXPECT_THROW(g.ReadTextField(), DataError);
}

TEST(Numbers, LenientParseNumTextAndStr) {
  EXPECT_EQ(LenientNumber(u"  -5x"), -5);
  EXPECT_EQ(LenientNumber(u"+3"), 3);
  EXPECT_EQ(LenientNumber(u"abc"), 0);
  EXPECT_EQ(LenientNumber(u""), 0);
  EXPECT_EQ(LenientNumber(u"99999999999"), 2147483647);
  EXPECT_EQ(NumText(12), u"12");
  EXPECT_EQ(Str(3), u" 3");
  EXPECT_EQ(Str(0), u" 0");
  EXPECT_EQ(Str(-15), u"-15");
}

TEST(Files, MissingFileAndWritingThroughATemporaryFile) {
  auto dir = std::filesystem::temp_directory_path() / "quorbel_reading_test";
  std::filesystem::create_directories(dir);
  DataDir data(dir);
  try {
    data.Open(u"classic/nothing.qrb");
    FAIL();
  } catch (const DataError& e) {
    EXPECT_STREQ(e.what(), "classic/nothing.qrb: file not found");
  }
  WriteTextFile(dir / "out.txt", {T("Привет"), u""}, "out.txt");
  std::string bytes;
  {  // closed before the folder goes: Windows keeps an open file from being removed
    std::ifstream in(dir / "out.txt", std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  EXPECT_EQ(bytes, std::string("\xcf\xf0\xe8\xe2\xe5\xf2\r\n\r\n"));
  EXPECT_EQ(data.Open(u"out.txt").ReadLine(), T("Привет"));
  std::filesystem::remove_all(dir);
}

// File modes, links and FIFOs are POSIX matters; tests/windows compares the Windows saves.
#ifndef _WIN32
std::string Bytes(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string SaveError(const std::filesystem::path& p) {
  try {
    WriteTextFile(p, {u"x"}, p.filename().string());
  } catch (const DataError& e) {
    return e.what();
  }
  return "saved";
}

// A kept file is taken as it is while nothing told of a change: each way of changing what its
// name reads must reach the next pass.
TEST(Files, AKeptFileChangedBetweenPassesIsReadAtTheNextHoweverItChanged) {
  testing::TempMaterial m;
  namespace fs = std::filesystem;
  const fs::path root = m.root();
  auto put = [](const fs::path& p, const std::string& line) { std::ofstream(p, std::ios::binary) << line << "\r\n"; };
  fs::create_directories(root / "a");
  put(root / "a/f.qrb", "one");
  const DataDir dir(root);
  auto read = [&] {
    const DataDir::Pass pass(dir);
    return ToUtf8(dir.Open(u"a/f.qrb").lines().at(0));
  };
  EXPECT_EQ(read(), "one");
  EXPECT_EQ(read(), "one");
  put(root / "a/f.qrb", "two-two");  // in place
  EXPECT_EQ(read(), "two-two");
  fs::create_hard_link(root / "a/f.qrb", root / "other.qrb");
  put(root / "other.qrb", "three-three");  // through another name
  EXPECT_EQ(read(), "three-three");
  put(root / "new.qrb", "four");
  fs::rename(root / "new.qrb", root / "a/f.qrb");
  EXPECT_EQ(read(), "four");
  fs::create_directories(root / "b");
  put(root / "b/f.qrb", "five");
  fs::rename(root / "a", root / "old");
  fs::rename(root / "b", root / "a");  // another folder in place of the file's
  EXPECT_EQ(read(), "five");
  put(root / "target.qrb", "six");
  fs::remove(root / "a/f.qrb");
  fs::create_symlink(root / "target.qrb", root / "a/f.qrb");
  EXPECT_EQ(read(), "six");
  put(root / "target.qrb", "seven");  // what the link leads to
  EXPECT_EQ(read(), "seven");
}

TEST(Files, TheSaveReplacesOnlyARegularFileAndKeepsWhatIsBesideIt) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / "quorbel_save_test";
  fs::remove_all(dir);
  fs::create_directories(dir);
  // A file of the user's that looks like a temporary file is not touched; a stale temporary
  // file of a save that died is cleared away.
  std::ofstream(dir / "out.txt.tmp") << "keep";
  const fs::path stale = dir / ".out.txt.quorbel-2147483646-abcdef";
  std::ofstream(stale) << "half";
  WriteTextFile(dir / "out.txt", {u"a"}, "out.txt");
  EXPECT_EQ(Bytes(dir / "out.txt.tmp"), "keep");
  EXPECT_FALSE(fs::exists(stale));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);

  // A read-only file keeps its mode; a link is written through, not replaced.
  fs::permissions(dir / "out.txt", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  WriteTextFile(dir / "out.txt", {u"b"}, "out.txt");
  EXPECT_EQ(Bytes(dir / "out.txt"), "b\r\n");
  EXPECT_EQ(fs::status(dir / "out.txt").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  fs::create_symlink("out.txt", dir / "link.txt");
  WriteTextFile(dir / "link.txt", {u"c"}, "link.txt");
  EXPECT_TRUE(fs::is_symlink(dir / "link.txt"));
  EXPECT_EQ(Bytes(dir / "out.txt"), "c\r\n");

  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  EXPECT_EQ(SaveError(dir / "fifo"), "fifo: not a regular file, so it is not replaced");
  EXPECT_EQ(SaveError(dir / "none" / "out.txt"), "out.txt: cannot be written (the folder does not exist)");
  fs::remove_all(dir);
}

#endif

TEST(Files, AFileBeyondTheBoundsOrUnreadableIsADataFault) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / "quorbel_bounds_test";
  fs::create_directories(dir);
  DataDir data(dir);
  auto fault = [&](const char* name) {
    try {
      data.Open(T(name));
    } catch (const DataError& e) {
      return std::string(e.what());
    }
    return std::string("read");
  };
  std::ofstream(dir / "lines.qrb") << std::string(200001, '\n');
  EXPECT_EQ(fault("lines.qrb"), "lines.qrb: more than 200000 lines, more than story material can use");
  std::ofstream(dir / "big.qrb") << std::string(10000001, 'a');
  EXPECT_EQ(fault("big.qrb"), "big.qrb: larger than 10 MB, more than story material can use");
  // The kept copy is the one handed out, not a second one.
  std::ofstream(dir / "small.qrb") << "a\r\n";
  EXPECT_EQ(&data.Open(u"small.qrb").lines(), &data.Open(u"small.qrb").lines());
  fs::remove_all(dir);
#ifndef _WIN32
  try {
    ReadFileBytes("/proc/self/mem", "mem");  // a regular file whose read fails with EIO
    FAIL();
  } catch (const DataError& e) {
    EXPECT_STREQ(e.what(), "mem: cannot be read");
  }
#endif
}

TEST(Messages, QuotedTextIsCutShortAndShowsControlCharacters) {
  EXPECT_EQ(Quoted(T("а\tб")), "\"а\\x09б\"");
  std::string cut;
  for (int i = 0; i < 79; ++i) cut += "ж";
  EXPECT_EQ(Quoted(Text(100, u'ж')), "\"" + cut + "…\"");
}

}  // namespace
}  // namespace quorbel
