// Dialogue: how replicas and the author's words are joined in a paragraph.
#include <algorithm>

#include "cli/lint/Material.h"

namespace quorbel::lint {
namespace {

bool IsSpeech(const Material& m, const Token& t) {
  if (t.kind != Token::Word) return false;
  if (m.table.speech.count(t.lower)) return true;
  // The analyser gives "признаётся" the lemma "признавать" (a passive reading).
  for (const Reading& r : m.morph.Of(t.lower))
    if (r.Has("vblex") && (m.table.speech.count(r.lemma) || m.table.speech.count(r.lemma + u"ся"))) return true;
  return false;
}

bool Lowercase(const Token& t) { return t.kind == Token::Word && !t.text.empty() && !IsUpper(t.text[0]); }

bool AfterReplica(const std::vector<Token>& t, std::size_t d) {
  if (d == 0) return true;
  const Token& p = t[d - 1];
  return p.kind == Token::Punct && (p.text == u"," || p.text == u"?" || p.text == u"!" || p.text == u"…" ||
                                    p.text == u"..." || p.text == u"?!" || p.text == u"!?");
}

// The dashes of a record that open the author's words after a replica (", — говорит он").
// Dashes alternate: ", — говорит он, — " opens the author's words and then returns to the
// replica; a dash after a full stop (". — Дальше") always returns to it.
struct AuthorWords {
  std::vector<std::size_t> opens;
  bool endsInside = false;  // the record ends with author's words ("..., — говорит _sus1.")
};

AuthorWords FindAuthorWords(const std::vector<Token>& t) {
  AuthorWords out;
  bool author = false;
  for (std::size_t d = 0; d + 1 < t.size(); ++d) {
    if (t[d].kind != Token::Dash) continue;
    if (!AfterReplica(t, d) || !Lowercase(t[d + 1])) {
      author = false;
      continue;
    }
    author = !author;
    if (author) out.opens.push_back(d);
  }
  // A record that ends with "—" hands over to the replica of the next phrase.
  out.endsInside = author && !t.empty() && t.back().kind != Token::Dash;
  return out;
}

bool HasDash(const std::vector<Token>& t) {
  return std::any_of(t.begin(), t.end(), [](const Token& k) { return k.kind == Token::Dash; });
}

// Whether a phrase reads as someone's speech rather than narration: a question or an exclamation,
// or a word in the first or second person ("я", "вы", "знаете", "потерпите").
bool Speaks(const Material& m, const std::vector<Token>& t) {
  for (const Token& k : t) {
    if (k.kind == Token::Punct && (k.text.find(u'?') != Text::npos || k.text.find(u'!') != Text::npos)) return true;
    if (k.kind != Token::Word) continue;
    for (const Reading& r : m.morph.Of(k.lower))
      if (r.Has("p1") || r.Has("p2")) return true;
  }
  return false;
}

// The speakers named in the author's words of a record: the word after a verb of speech.
std::set<Text> Speakers(const std::vector<Token>& t) {
  std::set<Text> out;
  for (std::size_t d : FindAuthorWords(t).opens)
    for (std::size_t k = d + 1; k < t.size() && k < d + 5; ++k) {
      if (t[k].kind == Token::Person || t[k].lower == u"инспектор") {
        out.insert(t[k].lower);
        break;
      }
      if (t[k].kind == Token::Punct) break;
    }
  return out;
}

// A phrase that takes over the author's words from a replica ending with the dash ("Садитесь, —"
// then "говорит инспектор"): so the dash stays at the end of a line, never at its start.
bool HandedOver(const PhraseFile& f, const Record& r) {
  if (r.plan < 0 || r.word <= 0 || r.tokens.empty() || !Lowercase(r.tokens[0])) return false;
  if (!f.plans[static_cast<std::size_t>(r.plan)].dialogue) return false;
  auto before = f.Group(r.plan, r.word - 1);
  return !before.empty() && std::all_of(before.begin(), before.end(), [](const Record* p) {
    return !p->tokens.empty() && p->tokens.back().kind == Token::Dash;
  });
}

bool EndsInAuthorWords(const PhraseFile& f, const Record& r) {
  return FindAuthorWords(r.tokens).endsInside || (HandedOver(f, r) && !HasDash(r.tokens));
}

}  // namespace

void CheckDialogue(const Material& m, Sink& sink) {
  for (const PhraseFile& f : m.files) {
    for (const Record& r : f.records) {
      if (r.plan < 0) continue;
      const Plan& plan = f.plans[static_cast<std::size_t>(r.plan)];
      const auto& t = r.tokens;
      auto report = [&](bool error, const std::string& msg) {
        sink.Add(f.rel, r.line, error, "dialogue", msg + ": \"" + Show(t, m.femaleName, Text()) + "\"", &r);
      };
      if (t.empty()) continue;
      // Author's words after ", —" open with a verb of speech ("говорит", "тихо спрашивает"). In a
      // narrative paragraph ", —" mostly closes an inserted clause ("Деньги, думает он, — ..."), so
      // there only a record that opens a replica of its own is read so.
      const bool handedOver = HandedOver(f, r);
      auto checkSpeech = [&](std::size_t from) {
        bool speech = false;
        for (std::size_t k = from; k < t.size() && k < from + 3 && t[k].kind != Token::Punct; ++k)
          if (IsSpeech(m, t[k])) speech = true;
        if (!speech) report(false, "the author's words after a replica do not begin with a verb of speech");
      };
      if (!m.table.speech.empty() && handedOver) checkSpeech(0);
      if (!m.table.speech.empty() && (plan.dialogue || t[0].kind == Token::Dash))
        for (std::size_t d : FindAuthorWords(t).opens)
          if (d > 0 || r.word > 0) checkSpeech(d + 1);
      // A replica left open for the author's words needs a next phrase that is always there.
      const Token& last = t.back();
      bool open = last.kind == Token::Dash || (last.kind == Token::Punct && last.text == u",");
      if (open) {
        std::size_t next = static_cast<std::size_t>(r.word) + 1;
        bool sure = next < plan.keys.size() && plan.flags[next] == u'1' &&
                    !f.Group(r.plan, static_cast<int>(next)).empty();
        if (!sure)
          report(true, std::string("the phrase ends with \"") + ToUtf8(last.text) +
                           "\" and the phrase that finishes it may be left out");
      }
      if (t[0].kind == Token::Dash && t.size() > 1 && !Lowercase(t[1])) {
        if (plan.dialogue && r.word == 0)
          report(true, "a dialogue paragraph gets its dash from the plan: the phrase must not begin with \"—\"");
        else if (r.word > 0)
          report(false, "a replica that begins inside a paragraph: a line of the page may begin with \"—\"");
      }
      if (Speakers(t).size() >= 2) report(false, "two speakers' replicas in one paragraph");
      if (plan.dialogue && r.word > 0 && t[0].kind == Token::Word && IsUpper(t[0].text[0]) && !HasDash(t)) {
        bool afterAuthor = false, afterReplica = false;
        for (const Record* p : f.Group(r.plan, r.word - 1))
          (EndsInAuthorWords(f, *p) ? afterAuthor : afterReplica) = true;
        if (afterAuthor)
          report(false, "narration after a replica and its author's words in a dialogue paragraph "
                        "(give it a paragraph of its own)");
        else if (afterReplica && !Speaks(m, t))
          report(false, "narration straight after a replica in a dialogue paragraph reads as the speaker's "
                        "words (give it a paragraph of its own)");
      }
    }
  }
}

}  // namespace quorbel::lint
