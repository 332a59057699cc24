// Repetition and reference: a word or sentence said twice, a pronoun with nothing before it,
// and the second half of a pair without the first.
#include <algorithm>
#include <map>

#include "cli/lint/Material.h"

namespace quorbel::lint {
namespace {

constexpr std::size_t kSpan = 10;  // words within which a content word should not come back
// Where two phrases meet, the reader hears the echo from one sentence to the next, further than
// within one phrase.
constexpr std::size_t kJoinSpan = 15;

// A word the analyser does not know ("дверь", "кивает") loses its ending, so that its forms still
// meet; the stem keeps at least four letters.
Text RoughStem(const Text& lower) {
  static const char16_t* const endings[] = {
      u"ами", u"ями", u"ого", u"его", u"ому", u"ему", u"ыми", u"ими", u"ает", u"яет", u"ует", u"ают", u"яют",
      u"уют", u"ой",  u"ей",  u"ью",  u"ом",  u"ем",  u"ах",  u"ях",  u"ам",  u"ям",  u"ую",  u"ая",  u"яя",
      u"ое",  u"ее",  u"ые",  u"ие",  u"ый",  u"ий",  u"ов",  u"ев",  u"ет",  u"ит",  u"ют",  u"ут",  u"ат",
      u"ят",  u"а",   u"я",   u"о",   u"е",   u"ы",   u"и",   u"у",   u"ю",   u"ь",   u"й"};
  for (const char16_t* e : endings) {
    TextView end(e);
    if (lower.size() >= end.size() + 4 && TextView(lower).ends_with(end))
      return lower.substr(0, lower.size() - end.size());
  }
  return lower;
}

// The lemma of a content word, empty for a function word.
Text ContentLemma(const Morph& morph, const Token& t) {
  static const std::set<Text> common = {u"быть",   u"этот",   u"тот",   u"весь", u"свой",  u"который",
                                        u"такой",  u"самый",  u"один",  u"себя", u"мочь",  u"очень",
                                        u"тоже",   u"только", u"ещё",   u"уже",  u"потом", u"снова",
                                        u"сейчас", u"здесь",  u"когда", u"друг"};  // "друг друга"
  if (t.kind != Token::Word) return {};
  const auto& rs = morph.Of(t.lower);
  Text lemma = rs.empty() ? RoughStem(t.lower) : rs.front().lemma;
  if (!rs.empty()) {
    const Reading& r = rs.front();
    if (!(r.Has("n") || r.Has("vblex") || r.Has("adj") || r.Has("adv"))) return {};
  }
  if (lemma.size() < 4 || common.count(lemma)) return {};
  return lemma;
}

// A word said again at once or across one little word is a figure, not a slip: "окно за окном",
// "из угла в угол", "снова и снова", "рано, очень рано", "в конце концов".
bool Reduplication(const std::vector<Text>& wordsAt, std::size_t first, std::size_t second) {
  static const std::set<Text> between = {u"за", u"в", u"во", u"к",     u"ко",  u"от", u"на",
                                         u"по", u"и", u"до", u"очень", u"так", u"же"};
  return second - first == 1 || (second - first == 2 && between.count(wordsAt[first + 1]));
}

Text SentenceKey(const std::vector<Token>& t, std::size_t first, std::size_t last) {
  Text key;
  int words = 0;
  for (std::size_t i = first; i < last; ++i) {
    key += t[i].lower + u" ";
    words += t[i].kind == Token::Word ? 1 : 0;
  }
  return words >= 4 ? key : Text();
}

// The words of a record by position (words and persons): the content lemma of each, and the word.
std::vector<std::pair<Text, Text>> Lemmas(const Morph& morph, const std::vector<Token>& t) {
  std::vector<std::pair<Text, Text>> out;
  for (const Token& k : t)
    if (k.kind == Token::Word || k.kind == Token::Person) out.push_back({ContentLemma(morph, k), k.text});
  return out;
}

// Two phrases of one paragraph may stand side by side, the one from a group of the plan and the
// one from the group before it (or from an earlier one when those between may be left out). An
// echo where they meet is in no single record, so the rule above cannot see it.
void CheckNeighbours(const Material& m, const PhraseFile& f, Sink& sink) {
  std::map<const Record*, std::vector<std::pair<Text, Text>>> lemmas;
  auto of = [&](const Record* r) -> const std::vector<std::pair<Text, Text>>& {
    auto it = lemmas.find(r);
    if (it == lemmas.end()) it = lemmas.emplace(r, Lemmas(m.morph, r->tokens)).first;
    return it->second;
  };
  for (const Record& r : f.records) {
    if (r.plan < 0 || r.word < 1) continue;
    const Plan& plan = f.plans[static_cast<std::size_t>(r.plan)];
    const auto& after = of(&r);
    std::set<Text> reported;
    for (int w = r.word - 1; w >= 0; --w) {
      for (const Record* p : f.Group(r.plan, w)) {
        if (!MayMeet(*p, r)) continue;
        const auto& before = of(p);
        for (std::size_t i = 0; i < before.size(); ++i)
          for (std::size_t j = 0; j < after.size() && before.size() - i + j <= kJoinSpan; ++j)
            if (!before[i].first.empty() && before[i].first == after[j].first && reported.insert(after[j].first).second)
              sink.Add(f.rel, r.line, false, "repetition",
                       "\"" + ToUtf8(after[j].second) + "\" echoes \"" + ToUtf8(before[i].second) +
                           "\" of the phrase at line " + std::to_string(p->line) + ", which may come just before: \"" +
                           Show(r.tokens, m.femaleName, Text()) + "\"",
                       &r);
      }
      if (static_cast<std::size_t>(w) >= plan.flags.size() || plan.flags[static_cast<std::size_t>(w)] == u'1') break;
    }
  }
}

}  // namespace

void CheckRepetition(const Material& m, Sink& sink) {
  static const std::set<Text> pronouns = {u"он", u"она", u"оно", u"они"};
  for (const PhraseFile& f : m.files) {
    CheckNeighbours(m, f, sink);
    std::map<Text, const Record*> sentences;
    for (const Record& r : f.records) {
      const auto& t = r.tokens;
      auto report = [&](const std::string& msg) {
        sink.Add(f.rel, r.line, false, "repetition", msg + ": \"" + Show(t, m.femaleName, Text()) + "\"", &r);
      };
      std::vector<std::pair<std::size_t, Text>> seen;  // word position, lemma
      std::vector<Text> wordsAt{Text()};               // the words by position, from 1
      std::size_t position = 0;
      std::set<Text> reported;
      for (const Token& k : t) {
        if (k.kind != Token::Word && k.kind != Token::Person) continue;
        ++position;
        wordsAt.push_back(k.lower);
        Text lemma = ContentLemma(m.morph, k);
        if (lemma.empty()) continue;
        for (const auto& [p, l] : seen)
          if (l == lemma && position - p <= kSpan && !Reduplication(wordsAt, p, position) &&
              reported.insert(lemma).second)
            report("\"" + ToUtf8(k.text) + "\" twice within " + std::to_string(kSpan) + " words");
        seen.push_back({position, lemma});
      }
      const bool narrative = r.plan >= 0 && !f.plans[static_cast<std::size_t>(r.plan)].dialogue;
      if (narrative && !t.empty() && t[0].kind == Token::Word && pronouns.count(t[0].lower)) {
        if (r.word == 0) {
          report("a paragraph opens with the pronoun \"" + ToUtf8(t[0].text) + "\": whom it means is not clear");
        } else {
          // The phrase before may end with another noun the pronoun then points to ("Лютый холод…").
          for (const Record* p : f.Group(r.plan, r.word - 1)) {
            auto ss = Sentences(p->tokens);
            bool person = false;
            if (!ss.empty())
              for (std::size_t k = ss.back().first; k < ss.back().second; ++k)
                person = person || p->tokens[k].kind == Token::Person || p->tokens[k].lower.starts_with(u"инспектор");
            if (!person) {
              report("\"" + ToUtf8(t[0].text) + "\" after a phrase that does not end with a person (line " +
                     std::to_string(p->line) + "): whom it means is not clear");
              break;
            }
          }
        }
      }
      // The second half of a pair needs the first in every phrase of an earlier group of the plan.
      for (const auto& pair : m.table.pairs) {
        const auto& second = pair.first;
        const auto& first = pair.second;  // a plain reference: a lambda may not capture a structured binding
        if (!Contains(Lower(r.text), second)) continue;
        bool paired = false;
        for (int w = 0; w < r.word && !paired; ++w) {
          auto group = f.Group(r.plan, w);
          paired = !group.empty() && std::all_of(group.begin(), group.end(),
                                                 [&](const Record* g) { return Contains(Lower(g->text), first); });
        }
        if (!paired) report("\"" + ToUtf8(second) + "\" where an earlier phrase may lack \"" + ToUtf8(first) + "\"");
      }
      for (auto [a, b] : Sentences(t)) {
        Text key = SentenceKey(t, a, b);
        if (key.empty()) continue;
        auto [it, fresh] = sentences.emplace(key, &r);
        if (!fresh && it->second->plan != r.plan)
          report("a sentence also written at line " + std::to_string(it->second->line) +
                 " in another paragraph of the scene");
      }
    }
  }
}

}  // namespace quorbel::lint
