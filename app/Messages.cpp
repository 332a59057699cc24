#include "app/Messages.h"

#include <new>

#include "story/DataError.h"

namespace quorbel {

namespace {

struct Wording {
  std::string_view english;  // the start of the engine's text; numbers after it vary
  std::string_view russian;
};

// The engine's texts by their start (some go on with a detail); longer starts come before
// shorter ones that they begin with.
constexpr Wording kWordings[] = {
    {"file not found", "файл не найден"},
    {"cannot be opened", "файл не открывается"},
    {"cannot be read", "файл не читается"},
    {"cannot be written (the folder is not writable)", "файл не записывается: в эту папку писать нельзя"},
    {"cannot be written (the disk is full)", "файл не записывается: диск заполнен"},
    {"cannot be written (the folder does not exist)", "файл не записывается: такой папки нет"},
    {"not a regular file, so it is not replaced", "это не обычный файл, он не заменяется"},
    {"cannot be written", "файл не записывается"},
    {"a byte that is not Windows-1251 text", "байт, которого нет в кодировке Windows-1251"},
    {"a character that Windows-1251 cannot hold", "знак, которого нет в кодировке Windows-1251"},
    {"end of file where a line was expected", "файл кончился там, где должна быть строка"},
    {"end of file where a field was expected", "файл кончился там, где должно быть поле"},
    {"a quoted field without its closing quote", "поле в кавычках без закрывающей кавычки"},
    {"no styles listed", "не указано ни одного стиля"},
    {"no themes listed", "не указано ни одной темы"},
    {"no title words", "нет слов для названия"},
    {"the episode file holds no record", "в файле эпизодов нет ни одной записи"},
    {"more than 100 groups", "больше 100 групп"},
    {"more than 100 records in one group", "больше 100 записей в одной группе"},
    {"more than 100 shade groups for one level", "больше 100 групп оттенков одного уровня"},
    {"more than 100 lines in one shade group", "больше 100 строк в одной группе оттенков"},
    {"more than 100 plan lines", "больше 100 строк плана"},
    {"more than 1000 persons", "больше 1000 действующих лиц"},
    {"more than 1000 phrases in one group", "больше 1000 фраз в одной группе"},
    {"more than 1000 facts", "больше 1000 фактов"},
    {"the story grows past 10000 lines", "рассказ вышел длиннее 10000 строк"},
    {"the story text would pass line 10000", "рассказ вышел длиннее 10000 строк"},
    {"a range lo-hi with lo <= hi was expected", "нужен промежуток «от-до», где «от» не больше «до»"},
    {"an empty person entry", "пустая запись о действующем лице"},
    {"fewer than ten distinct persons", "меньше десяти разных действующих лиц"},
    {"the variant file holds no variant", "в файле вариантов нет ни одного варианта"},
    {"a weight must be 0..1000000", "вес должен быть от 0 до 1000000"},
    {"the variant weights add up to 0", "сумма весов вариантов равна 0"},
    {"the variant weights add up to more than", "сумма весов вариантов слишком велика"},
    {"a key that belongs to no remaining plan", "ключ, которому не отвечает ни один оставшийся план"},
    {"a key that belongs to no word of its plan", "ключ, которому не отвечает ни одно слово его плана"},
    {"the plan lines are not followed by an empty line", "после строк плана нет пустой строки"},
    {"a phrase file without plan lines", "файл фраз без строк плана"},
    {"a phrase record cut short by the end of the file", "запись фразы оборвана концом файла"},
    {"a \"_call\" without \")\"", "«_call» без закрывающей скобки"},
};

// Texts with numbers in them, known by a part of their middle or end.
constexpr Wording kVariable[] = {
    {" title words", "слишком много слов для названия"},            // "more than N title words"
    {" is out of range 0..", "значение вне допустимых пределов"},  // "value N is out of range 0..M"
    {" is outside 0..", "значение вне допустимых пределов"},       // "season 7 is outside 0..4"
    {" leads out of the material folder", "имя файла ведёт за пределы папки с материалом"},
    {" holds a control character", "в имени файла управляющий знак"},
    {" MB, more than story material can use", "файл слишком велик"},        // "larger than 10 MB, ..."
    {" lines, more than story material can use", "в файле слишком много строк"},
};

}  // namespace

std::string RussianProblem(std::string_view problem) {
  // "the folder P cannot be made: R" keeps the folder and the system's reason.
  constexpr std::string_view kFolder = "the folder ", kMade = " cannot be made";
  if (problem.starts_with(kFolder)) {
    if (const auto at = problem.find(kMade); at != std::string_view::npos)
      return "не удалось создать папку " + std::string(problem.substr(kFolder.size(), at - kFolder.size())) +
             std::string(problem.substr(at + kMade.size()));
  }
  for (const Wording& w : kWordings) {
    if (problem.substr(0, w.english.size()) != w.english) continue;
    // A known text, or a known start whose rest is numbers and words the start announces.
    if (problem.size() == w.english.size() || problem[w.english.size()] == ' ' ||
        problem[w.english.size()] == ':' || problem[w.english.size()] == ',')
      return std::string(w.russian);
  }
  for (const Wording& w : kVariable)
    if (problem.find(w.english) != std::string_view::npos) return std::string(w.russian);
  return "ошибка в данных";
}

std::string FaultText(const std::exception& e) {
  if (const auto* d = dynamic_cast<const DataError*>(&e)) {
    std::string where = d->file();
    if (d->line() > 0) where += ", строка " + std::to_string(d->line());
    return where + ": " + RussianProblem(d->problem()) + ".";
  }
  if (dynamic_cast<const std::bad_alloc*>(&e)) return "не хватило памяти.";
  return RussianProblem(e.what()) + ".";
}

}  // namespace quorbel
