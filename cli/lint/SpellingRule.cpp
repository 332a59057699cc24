// Spelling: every word is in the Russian dictionary, among the cast's names and title words, or
// in the style's own word list.
#include "cli/lint/Material.h"

#ifdef QUORBEL_HUNSPELL_DIC
#include <hunspell/hunspell.h>
#endif

namespace quorbel::lint {

void CheckSpelling(const Material& m, Sink& sink) {
#ifdef QUORBEL_HUNSPELL_DIC
  Hunhandle* h = Hunspell_create(QUORBEL_HUNSPELL_AFF, QUORBEL_HUNSPELL_DIC);
  if (!h) return;
  std::map<Text, bool> known;
  auto good = [&](const Token& k) {
    if (k.kind != Token::Word || m.names.count(k.lower) || m.table.words.count(k.lower)) return true;
    for (char16_t c : k.text)
      if (!IsLetter(c) && c != u'-') return true;  // numbers and tokens
    auto [it, fresh] = known.emplace(k.lower, true);
    if (fresh) it->second = Hunspell_spell(h, ToUtf8(k.text).c_str()) != 0 ||
                            Hunspell_spell(h, ToUtf8(k.lower).c_str()) != 0;
    return it->second;
  };
  for (const PhraseFile& f : m.files)
    for (const Record& r : f.records)
      for (const Token& k : r.tokens)
        if (!good(k))
          sink.Add(f.rel, r.line, false, "spelling", "\"" + ToUtf8(k.text) + "\" is not in the dictionary", &r);
  for (const QuestionLine& q : m.questions)
    for (const Token& k : q.tokens)
      if (!good(k)) sink.Add(q.rel, q.line, false, "spelling", "\"" + ToUtf8(k.text) + "\" is not in the dictionary");
  Hunspell_destroy(h);
#else
  (void)m;
  (void)sink;
#endif
}

}  // namespace quorbel::lint
