// ё: the material writes ё, so a word that it writes elsewhere with ё is a slip when written
// with е (unless both spellings are words, like "все" and "всё").
#include "cli/lint/Material.h"

namespace quorbel::lint {

void CheckYo(const Material& m, Sink& sink) {
  std::set<Text> withYo;
  auto collect = [&](const std::vector<Token>& t) {
    for (const Token& k : t)
      if (k.kind == Token::Word && Contains(k.lower, u"ё")) withYo.insert(k.lower);
  };
  for (const PhraseFile& f : m.files)
    for (const Record& r : f.records) collect(r.tokens);
  for (const QuestionLine& q : m.questions) collect(q.tokens);

  auto check = [&](const std::vector<Token>& t, auto report) {
    for (const Token& k : t) {
      if (k.kind != Token::Word || m.table.homographs.count(k.lower)) continue;
      for (std::size_t i = 0; i < k.lower.size(); ++i) {
        if (k.lower[i] != u'е') continue;
        Text yo = k.lower;
        yo[i] = u'ё';
        if (withYo.count(yo)) {
          report("\"" + ToUtf8(k.text) + "\", which the material elsewhere writes \"" + ToUtf8(yo) + "\"");
          break;
        }
      }
    }
  };
  for (const PhraseFile& f : m.files)
    for (const Record& r : f.records)
      check(r.tokens, [&](const std::string& msg) { sink.Add(f.rel, r.line, true, "yo", msg, &r); });
  for (const QuestionLine& q : m.questions)
    check(q.tokens, [&](const std::string& msg) { sink.Add(q.rel, q.line, true, "yo", msg); });
}

}  // namespace quorbel::lint
