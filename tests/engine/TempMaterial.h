#pragma once
// A throw-away material folder for a test: files are given as UTF-8 text with LF and written as
// the program reads them (Windows-1251, CR LF).
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "story/TextFile.h"

namespace quorbel::testing {

class TempMaterial {
 public:
  TempMaterial() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    root_ = std::filesystem::temp_directory_path() /
            ("quorbel_" + std::string(info->test_suite_name()) + "_" + info->name() + "_" +
             std::to_string(::getpid()));  // two test runs at once must not share a folder
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_);
  }
  ~TempMaterial() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  TempMaterial(const TempMaterial&) = delete;
  TempMaterial& operator=(const TempMaterial&) = delete;

  // Writes name with the lines of utf8 (split at LF); a final LF adds no empty line.
  void Write(const std::string& name, const std::string& utf8) {
    std::filesystem::create_directories((root_ / name).parent_path());
    WriteTextFile(root_ / name, SplitLines(FromUtf8(utf8)), name);
  }
  // Copies a committed fixture folder into this one.
  void CopyFrom(const std::filesystem::path& fixture) {
    std::filesystem::copy(fixture, root_, std::filesystem::copy_options::recursive |
                                              std::filesystem::copy_options::overwrite_existing);
  }
  const std::filesystem::path& root() const { return root_; }
  DataDir dir() const { return DataDir(root_); }

 private:
  std::filesystem::path root_;
};

}  // namespace quorbel::testing
