#include "story/Platform.h"

#ifdef _WIN32
#include <cstdlib>

#include <windows.h>
#include <shellapi.h>
#endif

namespace quorbel {

#ifdef _WIN32

namespace {

std::string NarrowUtf8(const wchar_t* wide) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return {};
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, out.data(), n, nullptr, nullptr);
  out.resize(static_cast<std::size_t>(n - 1));
  return out;
}

}  // namespace

std::filesystem::path PathFromUtf8(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string PathToUtf8(const std::filesystem::path& path) {
  const std::u8string u8 = path.u8string();
  return std::string(u8.begin(), u8.end());
}

void RenameReplacing(const std::filesystem::path& from, const std::filesystem::path& to, std::error_code& ec) {
  ec.clear();
  if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    ec = std::error_code(static_cast<int>(GetLastError()), std::system_category());
}

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  // argv is in the ANSI code page; the wide command line holds every name as typed.
  int n = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &n);
  if (!wide) return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
  std::vector<std::string> args;
  for (int i = 1; i < n; ++i) args.push_back(NarrowUtf8(wide[i]));
  LocalFree(wide);
  return args;
}

void UseUtf8Console() {
  // Only a console's display depends on this; redirected output is the bytes as written. The
  // console is shared with the shell that started the program: it gets its code page back.
  static const UINT previous = GetConsoleOutputCP();
  if (previous == 0 || previous == CP_UTF8 || !SetConsoleOutputCP(CP_UTF8)) return;
  std::atexit([] { SetConsoleOutputCP(previous); });
}

#else

std::filesystem::path PathFromUtf8(std::string_view utf8) { return std::filesystem::path(std::string(utf8)); }

std::string PathToUtf8(const std::filesystem::path& path) { return path.string(); }

void RenameReplacing(const std::filesystem::path& from, const std::filesystem::path& to, std::error_code& ec) {
  std::filesystem::rename(from, to, ec);
}

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void UseUtf8Console() {}

#endif

}  // namespace quorbel
