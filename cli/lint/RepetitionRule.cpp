// Repetition and reference: a word or sentence said twice, a pronoun with nothing before it,
// and the second half of a pair without the first.
#include <map>

#include "cli/lint/Material.h"

namespace quorbel::lint {
namespace {

constexpr std::size_t kSpan = 10;  // words within which a content word should not come back

// The lemma of a content word, empty for a function word.
Text ContentLemma(const Morph& morph, const Token& t) {
  static const std::set<Text> common = {u"быть", u"этот", u"тот", u"весь", u"свой", u"который", u"такой",
                                        u"самый", u"один", u"себя", u"мочь", u"очень", u"тоже", u"только",
                                        u"ещё", u"уже", u"потом", u"снова", u"сейчас", u"здесь", u"когда",
                                        u"друг"};  // "друг друга"
  if (t.kind != Token::Word) return {};
  const auto& rs = morph.Of(t.lower);
  Text lemma = rs.empty() ? t.lower : rs.front().lemma;
  if (!rs.empty()) {
    const Reading& r = rs.front();
    if (!(r.Has("n") || r.Has("vblex") || r.Has("adj") || r.Has("adv"))) return {};
  }
  if (lemma.size() < 4 || common.count(lemma)) return {};
  return lemma;
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

}  // namespace

void CheckRepetition(const Material& m, Sink& sink) {
  static const std::set<Text> pronouns = {u"он", u"она", u"оно", u"они"};
  for (const PhraseFile& f : m.files) {
    std::map<Text, const Record*> sentences;
    Text whole;
    for (const Record& r : f.records) whole += Lower(r.text) + u"\n";
    for (const Record& r : f.records) {
      const auto& t = r.tokens;
      auto report = [&](const std::string& msg) {
        sink.Add(f.rel, r.line, false, "repetition", msg + ": \"" + Show(t, m.femaleName, Text()) + "\"", &r);
      };
      std::vector<std::pair<std::size_t, Text>> seen;  // word position, lemma
      std::size_t position = 0;
      std::set<Text> reported;
      for (const Token& k : t) {
        if (k.kind != Token::Word && k.kind != Token::Person) continue;
        ++position;
        Text lemma = ContentLemma(m.morph, k);
        if (lemma.empty()) continue;
        for (const auto& [p, l] : seen)
          if (l == lemma && position - p <= kSpan && reported.insert(lemma).second)
            report("\"" + ToUtf8(k.text) + "\" twice within " + std::to_string(kSpan) + " words");
        seen.push_back({position, lemma});
      }
      if (r.word == 0 && !t.empty() && t[0].kind == Token::Word && pronouns.count(t[0].lower))
        report("a paragraph opens with the pronoun \"" + ToUtf8(t[0].text) + "\": whom it means is not clear");
      for (const auto& [second, first] : m.table.pairs) {
        Text low = Lower(r.text);
        if (Contains(low, second) && !Contains(whole, first))
          report("\"" + ToUtf8(second) + "\" without \"" + ToUtf8(first) + "\" in the file");
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
