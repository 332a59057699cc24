#pragma once
// What the window tells the reader about a fault. The engine words its faults in English for the
// command line; the reader gets them in Russian, with the file and the line they came from.
#include <exception>
#include <string>
#include <string_view>

namespace quorbel {

// The Russian for one of the engine's problem texts; "ошибка в данных" for one it does not know.
std::string RussianProblem(std::string_view problem);

// "FILE, строка N: problem" (or "FILE: problem") for a DataError, in UTF-8; a short Russian
// text for any other failure.
std::string FaultText(const std::exception& e);

}  // namespace quorbel
