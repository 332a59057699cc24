#pragma once
// A private copy of a material folder for a fuzz target: the input replaces one of its files
// (the first byte chooses which), the target runs, and the file is put back.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace quorbel::fuzz {

class FuzzMaterial {
 public:
  explicit FuzzMaterial(const std::filesystem::path& fixture) {
    namespace fs = std::filesystem;
    root_ = fs::temp_directory_path() / ("quorbel-fuzz-" + std::to_string(::getpid()));
    fs::remove_all(root_);
    fs::copy(fixture, root_, fs::copy_options::recursive);
    for (const auto& e : fs::recursive_directory_iterator(root_))
      if (e.is_regular_file()) files_.push_back(fs::relative(e.path(), root_).generic_string());
    // The same order as make_corpus.sh (byte order of the relative names).
    std::sort(files_.begin(), files_.end());
    for (const auto& f : files_) originals_.push_back(Read(root_ / f));
  }
  ~FuzzMaterial() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }

  const std::filesystem::path& root() const { return root_; }

  // Runs body with the file chosen by data[0] holding data[1..]; returns false for an empty input.
  template <class Body>
  bool With(const std::uint8_t* data, std::size_t size, Body&& body) {
    if (size == 0) return false;
    const std::size_t k = data[0] % files_.size();
    Write(root_ / files_[k], std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
    body();
    Write(root_ / files_[k], originals_[k]);
    return true;
  }

 private:
  static std::string Read(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  static void Write(const std::filesystem::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) std::abort();  // a broken harness must not pass for a clean run
  }

  std::filesystem::path root_;
  std::vector<std::string> files_;
  std::vector<std::string> originals_;
};

}  // namespace quorbel::fuzz
