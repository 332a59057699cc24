// Case: the names of the cast and the title words exist only in the nominative, so they may
// stand only where Russian wants the nominative.
#include <algorithm>

#include "cli/lint/Material.h"

namespace quorbel::lint {
namespace {

const std::set<Text>& Prepositions() {
  static const std::set<Text> p = {
      u"в",     u"во",     u"на",    u"о",     u"об",    u"обо",    u"при",  u"по",      u"к",
      u"ко",    u"у",      u"для",   u"от",    u"до",    u"из",     u"с",    u"со",      u"за",
      u"над",   u"под",    u"перед", u"без",   u"про",   u"через",  u"между", u"около",  u"после",
      u"возле", u"против", u"среди", u"мимо",  u"вокруг", u"кроме", u"вместо", u"из-за",
      u"из-под", u"ради",  u"насчёт", u"благодаря"};
  return p;
}

// Pronouns that ask for an oblique case, so that "так это" after them needs it too.
const std::set<Text>& ObliqueWh() {
  static const std::set<Text> w = {u"кого", u"кому", u"кем", u"ком", u"чего", u"чему", u"чем"};
  return w;
}

// The word before token i, skipping an opening quotation mark; its index or npos.
std::size_t Before(const std::vector<Token>& t, std::size_t i) {
  if (i > 0 && t[i - 1].kind == Token::Punct && t[i - 1].text == u"«") --i;
  return i > 0 ? i - 1 : std::string::npos;
}

template <class Report>
void CheckTokens(const Material& m, const std::vector<Token>& t, Report report) {
  for (auto [first, last] : Sentences(t)) {
    bool oblique = false;
    for (std::size_t i = first; i < last; ++i) {
      if (t[i].kind == Token::Word && ObliqueWh().count(t[i].lower)) oblique = true;
      if (t[i].kind != Token::Person && t[i].kind != Token::Title) continue;
      const char* what = t[i].kind == Token::Person ? "a name" : "a title word";
      std::size_t b = Before(t, i);
      if (b == std::string::npos || b < first) continue;
      if (t[b].kind == Token::Word && Prepositions().count(t[b].lower)) {
        std::string hint = t[i].kind == Token::Title
                               ? " (put the generic noun between them: \"в отеле «_Z_»\")"
                               : " (names have only the nominative: rephrase so the name is the subject)";
        report(true, std::string(what) + " after the preposition \"" + ToUtf8(t[b].text) + "\"" + hint);
      } else if (oblique && b >= 2 && t[b].lower == u"это" && t[b - 1].lower == u"так") {
        report(true, std::string(what) + " after \"так это\" where the question word asks for another case");
      } else if (t[i].kind == Token::Person && t[b].kind == Token::Word && m.morph.Available()) {
        // "видит _sus1" wants the accusative; "— Нет, — говорит _sus1" has the name as subject.
        const auto& rs = m.morph.Of(t[b].lower);
        bool transitive = std::any_of(rs.begin(), rs.end(), [](const Reading& r) {
          return r.Has("vblex") && r.Has("tv") && !r.Has("pp") && !r.Has("past");
        });
        // Only a verb after its subject ("Инспектор видит _sus1"): inverted order ("На террасу
        // выходит _sus1") and the author's words after a replica have the name as the subject.
        bool subjectBefore = false;
        for (std::size_t k = first; k < b; ++k) {
          // A new clause ("ты помнишь, что говорит _sus1") has a subject of its own.
          if (t[k].kind == Token::Dash || (t[k].kind == Token::Punct && t[k].text == u",")) subjectBefore = false;
          if (t[k].kind != Token::Word) continue;
          const auto& ks = m.morph.Of(t[k].lower);
          if (!ks.empty() && std::all_of(ks.begin(), ks.end(), [](const Reading& r) {
                return (r.Has("n") || r.Has("prn")) && r.Has("nom") && !r.Has("itg");
              }))
            subjectBefore = true;
        }
        if (transitive && subjectBefore && !t[b].lower.ends_with(u"ся"))
          report(false, "a name after the transitive verb \"" + ToUtf8(t[b].text) +
                            "\": if it is the object, it needs another case");
      }
    }
  }
}

}  // namespace

void CheckCase(const Material& m, Sink& sink) {
  for (const PhraseFile& f : m.files)
    for (const Record& r : f.records)
      CheckTokens(m, r.tokens, [&](bool error, const std::string& msg) {
        sink.Add(f.rel, r.line, error, "case", msg + ": \"" + Show(r.tokens, m.femaleName, Text()) + "\"", &r);
      });
  const Text title = m.titleWords.empty() ? Text(u"_Z_") : m.titleWords.front();
  for (const QuestionLine& q : m.questions)
    CheckTokens(m, q.tokens, [&](bool error, const std::string& msg) {
      sink.Add(q.rel, q.line, error, "case", msg + ": \"" + Show(q.tokens, m.femaleName, title) + "\"");
    });
}

}  // namespace quorbel::lint
