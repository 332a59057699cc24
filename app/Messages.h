#pragma once
// What the window tells the reader about a fault: the Russian wording of the engine's problem
// (story/Problems.h), with the file and the line it came from.
#include <exception>
#include <string>
#include <string_view>

namespace quorbel {

// The Russian for a problem known only by its English text (a fault that came as text, not as
// one of the engine's problems); "ошибка в данных" for a text no wording of the engine fits.
std::string RussianProblem(std::string_view problem);

// "FILE, строка N: problem" (or "FILE: problem") for a DataError, in UTF-8; a short Russian
// text for any other failure.
std::string FaultText(const std::exception& e);

}  // namespace quorbel
