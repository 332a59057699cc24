// Gender: a cast member may be a man or a woman, so no form that agrees with one gender only
// may refer to one.
#include <algorithm>

#include "cli/lint/Material.h"

namespace quorbel::lint {
namespace {

// 'm' or 'f' when every reading of the word is a singular past tense, short adjective or
// short participle of that gender; 0 otherwise.
char OneGender(const Morph& morph, const Token& t) {
  if (t.kind != Token::Word) return 0;
  const auto& rs = morph.Of(t.lower);
  if (rs.empty()) return 0;
  char g = 0;
  for (const Reading& r : rs) {
    if (!r.Has("sg") || !(r.Has("past") || r.Has("short"))) return 0;
    char rg = r.Has("m") ? 'm' : r.Has("f") ? 'f' : 'x';
    if (rg == 'x' || (g && g != rg)) return 0;
    g = rg;
  }
  return g;
}

// True when the word may be a subject of gender g in the nominative singular: "инспектор", "она",
// "кто". The pronoun "я" does not count: in a replica it is the speaker, a cast member.
bool SubjectOf(const Morph& morph, const Token& t, char g) {
  if (t.kind != Token::Word || t.lower == u"я") return false;
  if (g == 'm' && t.lower.starts_with(u"кто")) return true;
  const auto& rs = morph.Of(t.lower);
  // A word the analyser does not know may be a noun made of an adjective: "горничная".
  if (rs.empty())
    return g == 'f' ? t.lower.ends_with(u"ая") || t.lower.ends_with(u"ь")
                    : t.lower.ends_with(u"ый") || t.lower.ends_with(u"ий") || t.lower.ends_with(u"ой");
  for (const Reading& r : rs) {
    bool noun = r.Has("n") || r.Has("prn") || r.Has("np") || (r.Has("adj") && !r.Has("short"));
    if (noun && r.Has("sg") && r.Has("nom") && r.Has(g == 'm' ? "m" : "f")) return true;
    if (g == 'm' && (r.lemma == u"кто" || r.lemma == u"никто" || r.lemma == u"кто-то" || r.lemma == u"кто-нибудь"))
      return true;
  }
  return false;
}

// "первым встаёт", "значится последним": an ordinal in the instrumental that stands for a person
// agrees with a man only; before a noun it agrees with the noun ("первым делом").
bool MasculineOrdinal(const Morph& morph, const std::vector<Token>& t, std::size_t i) {
  static const std::set<Text> ordinals = {u"первым",    u"вторым",    u"третьим",
                                          u"четвёртым", u"последним", u"единственным"};
  if (t[i].kind != Token::Word || !ordinals.count(t[i].lower)) return false;
  // After a preposition it is a noun's attribute ("за первым же поворотом").
  if (i > 0 && t[i - 1].kind == Token::Word)
    for (const Reading& r : morph.Of(t[i - 1].lower))
      if (r.Has("pr")) return false;
  std::size_t next = i + 1 < t.size() && t[i + 1].lower == u"же" ? i + 2 : i + 1;
  if (next < t.size() && t[next].kind == Token::Word)
    for (const Reading& r : morph.Of(t[next].lower))
      if (r.Has("n") || r.Has("adj")) return false;
  return true;
}

bool Both(const Token& t) {
  static const std::set<Text> both = {u"оба", u"обоих", u"обоим", u"обоими", u"обе", u"обеих", u"обеим", u"обеими"};
  return t.kind == Token::Word && both.count(t.lower);
}

// "оба" names two persons who may both be women ("двое ..., но оба"), unless it agrees with a
// noun ("в оба конца", "два имени ..., но оба") or one of the two is the inspector.
bool BothMayBeWomen(const Morph& morph, const std::vector<Token>& t, std::size_t i, std::size_t persons) {
  if (i + 1 < t.size() && t[i + 1].kind == Token::Word)
    for (const Reading& r : morph.Of(t[i + 1].lower))
      if (r.Has("n")) return false;
  bool others = false, inspector = false;
  for (const Token& k : t) {
    static const std::set<Text> plural = {u"двое", u"двоих", u"двоим", u"их", u"они", u"им", u"ними"};
    if (plural.count(k.lower)) others = true;
    if (k.lower == u"два" || k.lower == u"две") return false;
    if (k.lower.starts_with(u"инспектор")) inspector = true;
  }
  if (others) return true;
  if (inspector) return false;
  return persons >= 2;
}

}  // namespace

void CheckGender(const Material& m, Sink& sink) {
  for (const PhraseFile& f : m.files) {
    // The persons the scene names: "оба" and "собеседник" may point back to any of them.
    std::set<Text> persons;
    for (const Record& r : f.records)
      for (const Token& t : r.tokens)
        if (t.kind == Token::Person) persons.insert(t.text);
    if (persons.empty()) continue;
    for (const Record& r : f.records) {
      const auto& t = r.tokens;
      auto report = [&](bool error, const std::string& msg, const Text& name) {
        sink.Add(f.rel, r.line, error, "gender", msg + ": \"" + Show(t, name, Text()) + "\"", &r);
      };
      for (std::size_t i = 0; i < t.size(); ++i) {
        // Without the analyser a following noun ("обе стороны") goes unseen, so only a warning.
        if (Both(t[i]) && BothMayBeWomen(m.morph, t, i, persons.size()))
          report(m.morph.Available(),
                 "\"" + ToUtf8(t[i].text) + "\" for two cast members, who may be a man and a woman or two women",
                 m.femaleName);
        if (t[i].kind == Token::Word && t[i].lower.starts_with(u"собеседник") && !t[i].lower.ends_with(u"и") &&
            !t[i].lower.ends_with(u"ов") && !t[i].lower.ends_with(u"ам") && !t[i].lower.ends_with(u"ами") &&
            !t[i].lower.ends_with(u"ах"))
          report(true, "\"" + ToUtf8(t[i].text) + "\" in a scene with a cast member, who may be a woman", m.femaleName);
        if (t[i].kind == Token::Word && (t[i].lower == u"один" || t[i].lower == u"одна") && i + 2 < t.size() &&
            t[i + 1].lower == u"из" && (t[i + 2].lower == u"них" || t[i + 2].lower == u"нас"))
          report(false, "\"" + ToUtf8(t[i].text) + " из " + ToUtf8(t[i + 2].text) + "\" names one gender",
                 t[i].lower == u"один" ? m.femaleName : m.maleName);
      }
      if (!m.morph.Available()) continue;
      // One-gender forms: only in a sentence that names a cast member.
      for (auto [first, last] : Sentences(t)) {
        if (std::none_of(t.begin() + static_cast<long>(first), t.begin() + static_cast<long>(last),
                         [](const Token& k) { return k.kind == Token::Person; }))
          continue;
        for (std::size_t i = first; i < last; ++i) {
          char g = MasculineOrdinal(m.morph, t, i) ? 'm' : OneGender(m.morph, t[i]);
          if (!g) continue;
          bool other = false;
          for (std::size_t j = first; j < last; ++j)
            if (j != i && SubjectOf(m.morph, t[j], g)) other = true;
          if (other) continue;
          report(true,
                 "\"" + ToUtf8(t[i].text) + "\" is " + (g == 'm' ? "masculine" : "feminine") +
                     " only, and the cast member it may refer to may be " + (g == 'm' ? "a woman" : "a man"),
                 g == 'm' ? m.femaleName : m.maleName);
        }
      }
    }
  }
}

}  // namespace quorbel::lint
