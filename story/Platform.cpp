#include "story/Platform.h"

#ifdef _WIN32
#include <algorithm>
#include <cstdlib>

#include "story/DataError.h"

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

void WindowsWriteReplacing(const std::filesystem::path& target, std::string_view bytes,
                           const std::string& displayName) {
  auto fail = [&](DWORD error, bool replacing) {
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    std::string why;
    switch (error) {
      case ERROR_ACCESS_DENIED:
      case ERROR_SHARING_VIOLATION:
      case ERROR_LOCK_VIOLATION:
        // Windows refuses to replace a file that another program holds open.
        if (!replacing) throw DataError(displayName, 0, ProblemId::FolderNotWritable);
        why = readOnly ? "the file is read-only" : "the file is open in another program";
        break;
      case ERROR_WRITE_PROTECT:
        why = "the disk is write-protected";
        break;
      case ERROR_DISK_FULL:
      case ERROR_HANDLE_DISK_FULL:
        throw DataError(displayName, 0, ProblemId::DiskFull);
      case ERROR_PATH_NOT_FOUND:
        throw DataError(displayName, 0, ProblemId::NoSuchFolder);
      default:
        why = "Windows error " + std::to_string(error);
    }
    throw DataError(displayName, 0, ProblemId::CannotBeWritten, why);
  };
  // A name of this process's own, created only if it is not there yet.
  std::filesystem::path temp;
  HANDLE file = INVALID_HANDLE_VALUE;
  for (int attempt = 0; file == INVALID_HANDLE_VALUE; ++attempt) {
    temp = target;
    temp += L".quorbel-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(attempt);
    file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD error = file == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    if (error && ((error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) || attempt == 99))
      fail(error, false);
  }
  DWORD error = 0;
  while (!bytes.empty() && !error) {
    DWORD written = 0;
    const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 20));
    if (WriteFile(file, bytes.data(), piece, &written, nullptr))
      bytes.remove_prefix(written);
    else
      error = GetLastError();
  }
  if (!error && !FlushFileBuffers(file)) error = GetLastError();
  if (!CloseHandle(file) && !error) error = GetLastError();
  if (error) {
    DeleteFileW(temp.c_str());
    fail(error, false);
  }
  if (!MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = GetLastError();
    DeleteFileW(temp.c_str());
    fail(error, true);
  }
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

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void UseUtf8Console() {}

#endif

}  // namespace quorbel
