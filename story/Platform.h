#pragma once
// The few things that differ between Windows and POSIX systems: file names, replacing a file,
// the command line and the console. Everything else is standard C++.
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace quorbel {

// A file name from UTF-8 text and back. On Windows the narrow file names of the standard
// library are in the ANSI code page, which cannot hold every name (Cyrillic among them).
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string PathToUtf8(const std::filesystem::path& path);

// Moves from to to in one step, replacing a file already at to (Windows' plain rename refuses
// to), and has the move reach the disk before it returns where the system can tell.
void RenameReplacing(const std::filesystem::path& from, const std::filesystem::path& to, std::error_code& ec);

// The program's arguments after its name, as UTF-8 whatever the system's code page.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// Standard output and error carry UTF-8; a Windows console is set to show it as such.
void UseUtf8Console();

}  // namespace quorbel
