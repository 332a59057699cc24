#pragma once
// The few things that differ between Windows and POSIX systems: file names, the save,
// the command line and the console. Everything else is standard C++.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quorbel {

// A file name from UTF-8 text and back. On Windows the narrow file names of the standard
// library are in the ANSI code page, which cannot hold every name (Cyrillic among them).
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string PathToUtf8(const std::filesystem::path& path);

#ifdef _WIN32
// The save on Windows: the bytes go to a new temporary file beside the target, are flushed to
// the disk and only then moved over the target in one step (the plain rename refuses to replace
// a file), so the target is always the old file or the new one, whole. Throws a DataError
// naming displayName with one of the problems of a write (DiskFull, CannotBeWritten, ...).
void WindowsWriteReplacing(const std::filesystem::path& target, std::string_view bytes,
                           const std::string& displayName);
#endif

// The program's arguments after its name, as UTF-8 whatever the system's code page.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// Standard output and error carry UTF-8; a Windows console is set to show it as such.
void UseUtf8Console();

}  // namespace quorbel
