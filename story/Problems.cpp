#include "story/Problems.h"

#include <array>
#include <cstddef>

namespace quorbel {
namespace {

using enum ProblemId;

// Two faults that the reader need not tell apart share their Russian.
constexpr std::string_view kLineExpectedRu = "файл кончился там, где должна быть строка";
constexpr std::string_view kStoryTooLongRu = "рассказ вышел длиннее {0} строк";
constexpr std::string_view kOutOfRangeRu = "значение вне допустимых пределов";

constexpr std::array<ProblemWording, kProblemCount> kWordings{{
    {FileNotFound, "file not found", "файл не найден"},
    {CannotBeOpened, "cannot be opened", "файл не открывается"},
    {CannotBeRead, "cannot be read", "файл не читается"},
    {FileTooLarge, "larger than {0} MB, more than story material can use", "файл слишком велик"},
    {TooManyFileLines, "more than {0} lines, more than story material can use", "в файле слишком много строк"},
    {NotWindows1251, "a byte that is not Windows-1251 text", "байт, которого нет в кодировке Windows-1251"},
    {NotEncodable, "a character that Windows-1251 cannot hold", "знак, которого нет в кодировке Windows-1251"},
    {FolderNotWritable, "cannot be written (the folder is not writable)",
     "файл не записывается: в эту папку писать нельзя"},
    {DiskFull, "cannot be written (the disk is full)", "файл не записывается: диск заполнен"},
    {NoSuchFolder, "cannot be written (the folder does not exist)", "файл не записывается: такой папки нет"},
    {CannotBeWritten, "cannot be written ({0})", "файл не записывается"},
    {NotRegularFile, "not a regular file, so it is not replaced", "это не обычный файл, он не заменяется"},
    {FolderNotMade, "the folder {0} cannot be made: {1}", "не удалось создать папку {0}: {1}"},
    {StyleNameExpected, "end of file where a line was expected (the style's display name)", kLineExpectedRu},
    {LineExpected, "end of file where a line was expected", kLineExpectedRu},
    {FieldExpected, "end of file where a field was expected", "файл кончился там, где должно быть поле"},
    {UnclosedQuote, "a quoted field without its closing quote", "поле в кавычках без закрывающей кавычки"},
    {NameHasControl, "the name {0} holds a control character", "в имени файла управляющий знак"},
    {NameLeavesFolder, "the name {0} leads out of the material folder",
     "имя файла ведёт за пределы папки с материалом"},
    {NoStyles, "no styles listed", "не указано ни одного стиля"},
    {NoThemes, "no themes listed", "не указано ни одной темы"},
    {NoTitleWords, "no title words", "нет слов для названия"},
    {TooManyTitleWords, "more than {0} title words", "слишком много слов для названия"},
    {NoEpisodeRecord, "the episode file holds no record", "в файле эпизодов нет ни одной записи"},
    {TooManyGroups, "more than {0} groups", "больше {0} групп"},
    {TooManyGroupRecords, "more than {0} records in one group", "больше {0} записей в одной группе"},
    {BadRange, "a range lo-hi with lo <= hi was expected, not {0}",
     "нужен промежуток «от-до», где «от» не больше «до»"},
    {StoryTooLong, "the story grows past {0} lines", kStoryTooLongRu},
    {TextPastLastLine, "the story text would pass line {0}", kStoryTooLongRu},
    {SettingOutOfRange, "value {0} is out of range 0..{1}", kOutOfRangeRu},
    {ConditionOutOfRange, "{0} {1} is outside 0..{2}", kOutOfRangeRu},
    {EmptyPerson, "an empty person entry", "пустая запись о действующем лице"},
    {TooManyPersons, "more than {0} persons", "больше {0} действующих лиц"},
    {TooFewPersons, "fewer than ten distinct persons ({0})", "меньше десяти разных действующих лиц"},
    {NoVariant, "the variant file holds no variant", "в файле вариантов нет ни одного варианта"},
    {BadWeight, "a weight must be 0..{0}", "вес должен быть от 0 до {0}"},
    {ZeroWeights, "the variant weights add up to 0", "сумма весов вариантов равна 0"},
    {WeightsTooLarge, "the variant weights add up to more than {0}", "сумма весов вариантов слишком велика"},
    {TooManyShadeGroups, "more than {0} shade groups for one level", "больше {0} групп оттенков одного уровня"},
    {TooManyShadeLines, "more than {0} lines in one shade group", "больше {0} строк в одной группе оттенков"},
    {PlanWithoutBars, "a plan line without two \"|\"", "строка плана без двух знаков «|»"},
    {EmptyPlanWord, "an empty plan word", "пустое слово в строке плана"},
    {TooManyPlanWords, "more than {0} words in a plan line", "больше {0} слов в строке плана"},
    {TooManyPlans, "more than {0} plan lines", "больше {0} строк плана"},
    {PlansNotEnded, "the plan lines are not followed by an empty line", "после строк плана нет пустой строки"},
    {NoPlans, "a phrase file without plan lines", "файл фраз без строк плана"},
    {RecordCutShort, "a phrase record cut short by the end of the file", "запись фразы оборвана концом файла"},
    {NoRemainingPlan, "a key that belongs to no remaining plan", "ключ, которому не отвечает ни один оставшийся план"},
    {NoPlanWord, "a key that belongs to no word of its plan", "ключ, которому не отвечает ни одно слово его плана"},
    {TooManyPhrases, "more than {0} phrases in one group", "больше {0} фраз в одной группе"},
    {TooManyFacts, "more than {0} facts", "больше {0} фактов"},
    {UnclosedCall, "a \"_call\" without \")\"", "«_call» без закрывающей скобки"},
}};

// A placeholder is "{" digit "}"; no wording holds a brace otherwise.
constexpr bool IsPlaceholder(std::string_view w, std::size_t i) {
  return i + 2 < w.size() && w[i] == '{' && w[i + 1] >= '0' && w[i + 1] <= '9' && w[i + 2] == '}';
}

// Bit n set when the wording names value n.
constexpr unsigned Named(std::string_view w) {
  unsigned named = 0;
  for (std::size_t i = 0; i < w.size(); ++i)
    if (IsPlaceholder(w, i)) named |= 1u << (w[i + 1] - '0');
  return named;
}

constexpr bool StrayBrace(std::string_view w) {
  for (std::size_t i = 0; i < w.size(); ++i) {
    if (IsPlaceholder(w, i))
      i += 2;
    else if (w[i] == '{' || w[i] == '}')
      return true;
  }
  return false;
}

// Each id has its own entry at its place, both wordings, the English naming values 0..n-1 and
// the Russian none that the English does not: a Russian text can only show what the throw gave.
constexpr bool Sound() {
  for (std::size_t i = 0; i < kWordings.size(); ++i) {
    const ProblemWording& w = kWordings[i];
    if (static_cast<std::size_t>(w.id) != i || w.english.empty() || w.russian.empty()) return false;
    if (StrayBrace(w.english) || StrayBrace(w.russian)) return false;
    const unsigned english = Named(w.english);
    if ((english & (english + 1)) != 0 || (Named(w.russian) & ~english) != 0) return false;
  }
  return true;
}
static_assert(Sound());

std::string Fill(std::string_view wording, const std::vector<std::string>& values) {
  std::string out;
  for (std::size_t i = 0; i < wording.size(); ++i) {
    if (!IsPlaceholder(wording, i)) {
      out += wording[i];
      continue;
    }
    // A value the throw did not give shows as its placeholder rather than as nothing.
    const auto n = static_cast<std::size_t>(wording[i + 1] - '0');
    out += n < values.size() ? std::string_view(values[n]) : wording.substr(i, 3);
    i += 2;
  }
  return out;
}

// Whether text is the wording with values filled in; the values found go to values. A value is
// never empty, and the shortest one that lets the rest fit is taken.
bool Fits(std::string_view wording, std::string_view text, std::vector<std::string>& values) {
  std::size_t i = 0;
  while (i < wording.size() && !IsPlaceholder(wording, i)) {
    if (i >= text.size() || text[i] != wording[i]) return false;
    ++i;
  }
  if (i == wording.size()) return i == text.size();
  const auto n = static_cast<std::size_t>(wording[i + 1] - '0');
  const std::string_view rest = wording.substr(i + 3);
  for (std::size_t end = i + 1; end <= text.size(); ++end) {
    if (!Fits(rest, text.substr(end), values)) continue;
    if (values.size() <= n) values.resize(n + 1);
    values[n] = std::string(text.substr(i, end - i));
    return true;
  }
  return false;
}

// The words a text worded elsewhere may begin with, a detail of its own after them: the whole
// wording, or the part before a closing "(...)" that holds its values. Empty when there is none
// or the Russian needs a value that such a text does not give.
std::string_view Head(const ProblemWording& w) {
  if (Named(w.russian) != 0) return {};
  const std::size_t open = w.english.find(" (");
  const std::size_t first = w.english.find('{');
  if (first == std::string_view::npos) return w.english;
  if (open != std::string_view::npos && open < first && w.english.back() == ')' &&
      w.english.find(')', open) == w.english.size() - 1)
    return w.english.substr(0, open);
  return {};
}

}  // namespace

const ProblemWording& WordingOf(ProblemId id) { return kWordings[static_cast<std::size_t>(id)]; }

std::string Problem::English() const { return Fill(WordingOf(id).english, values); }
std::string Problem::Russian() const { return Fill(WordingOf(id).russian, values); }

std::optional<Problem> ProblemOfText(std::string_view english) {
  for (const ProblemWording& w : kWordings) {
    Problem p{w.id, {}};
    if (Fits(w.english, english, p.values)) return p;
  }
  for (const ProblemWording& w : kWordings) {
    const std::string_view head = Head(w);
    if (head.empty() || !english.starts_with(head)) continue;
    if (english.size() == head.size() || english[head.size()] == ' ' || english[head.size()] == ':' ||
        english[head.size()] == ',')
      return Problem{w.id, {}};
  }
  return std::nullopt;
}

}  // namespace quorbel
