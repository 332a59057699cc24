#include "story/Episodes.h"

#include <array>

#include "clock/StoryClock.h"
#include "phrases/PhraseEngine.h"
#include "story/Numbers.h"

namespace quorbel {

namespace {

// One read of a record: the item it fills, and whether it takes the rest of the line (or one
// comma-separated field).
template <typename Record>
struct Read {
  Item Record::*item;
  bool line;
};

constexpr std::array<Read<EpisodeText>, 7> kEpisodeReads = {{{&EpisodeText::group, false},
                                                              {&EpisodeText::note, true},
                                                              {&EpisodeText::chance, false},
                                                              {&EpisodeText::lineBreak, false},
                                                              {&EpisodeText::phraseFile, false},
                                                              {&EpisodeText::days, true},
                                                              {&EpisodeText::minutes, true}}};
constexpr std::array<Read<FinalText>, 3> kFinalReads = {
    {{&FinalText::kind, false}, {&FinalText::note, true}, {&FinalText::phraseFile, false}}};

// Reads records as written to the end of the file or the record a read fails in.
template <typename Record, std::size_t N>
void ReadWritten(InputFile& f, const std::array<Read<Record>, N>& reads, std::vector<Record>& written,
                 std::optional<ReadFault>& cut, Record& cutRecord) {
  while (!f.Eof()) {
    Record r;
    r.line = f.LineNumber();
    try {
      for (const Read<Record>& read : reads) {
        Item& item = r.*read.item;
        item.line = f.LineNumber();
        item.text = read.line ? f.ReadLine() : f.ReadTextField();
        ++r.reads;
      }
    } catch (const DataError& e) {
      cut = ReadFault{e, r.line, f.Eof()};
      cutRecord = std::move(r);
      return;
    }
    written.push_back(std::move(r));
  }
}

const Text& CheckedName(const std::string& file, const Item& name) {
  if (auto fault = NameFault(name.text)) throw DataError(file, name.line, *fault);
  return name.text;
}

const Text& CheckedRange(const std::string& file, const Item& range) {
  Long lo = 0, hi = 0;
  if (!ParseRange(range.text, lo, hi) || lo > hi)
    throw DataError(file, range.line, ProblemId::BadRange, Quoted(range.text));
  return range.text;
}

// The story's reading of the reads made, in their order: the first fault is thrown.
EpisodeRecord Interpret(const std::string& file, const EpisodeText& t) {
  EpisodeRecord r;
  r.line = t.line;
  if (t.reads > 0) r.group = LenientNumber(t.group.text);
  if (t.reads > 1) r.note = t.note.text;
  if (t.reads > 2) r.chance = LenientNumber(t.chance.text);
  if (t.reads > 3) r.lineBreak = LenientNumber(t.lineBreak.text);
  if (t.reads > 4) r.phraseFile = CheckedName(file, t.phraseFile);
  if (t.reads > 5) r.days = CheckedRange(file, t.days);
  if (t.reads > 6) r.minutes = CheckedRange(file, t.minutes);
  return r;
}

}  // namespace

EpisodeFile ParseEpisodeFile(InputFile& f) {
  EpisodeFile m;
  m.name = f.name();
  ReadWritten(f, kEpisodeReads, m.written, m.cut, m.cutRecord);
  try {
    for (const EpisodeText& t : m.written) m.records.push_back(Interpret(m.name, t));
    if (m.cut) {
      Interpret(m.name, m.cutRecord);
      m.fault = m.cut->error;
    }
  } catch (const DataError& e) {
    m.fault = e;
  }
  return m;
}

std::shared_ptr<const EpisodeFile> OpenEpisodeFile(const DataDir& dir, TextView fileName) {
  return dir.Parsed<EpisodeFile>(fileName, ParseEpisodeFile);
}

FinalFile ParseFinalFile(InputFile& f) {
  FinalFile m;
  m.name = f.name();
  ReadWritten(f, kFinalReads, m.written, m.cut, m.cutRecord);
  return m;
}

std::shared_ptr<const FinalFile> OpenFinalFile(const DataDir& dir, TextView fileName) {
  return dir.Parsed<FinalFile>(fileName, ParseFinalFile);
}

void AssignFinal(StoryState& s, const FinalFile& file, const FinalText& r) {
  s.recGroup = LenientNumber(r.kind.text);
  s.recNote = r.note.text;
  s.recPhraseFile = CheckedName(file.name, r.phraseFile);
}

void Assign(StoryState& s, const EpisodeRecord& r) {
  s.recGroup = r.group;
  s.recNote = r.note;
  s.recChance = r.chance;
  s.recBreak = r.lineBreak;
  s.recPhraseFile = r.phraseFile;
  s.recDays = r.days;
  s.recMinutes = r.minutes;
}

Long CountGroups(StoryState& s, const DataDir& dir, TextView fileName) {
  const auto file = OpenEpisodeFile(dir, fileName);
  if (file->records.empty() && !file->fault) throw DataError(file->name, 1, ProblemId::NoEpisodeRecord);
  Long groups = 0;
  Long size = 0;
  Long key = 0;
  for (const EpisodeRecord& r : file->records) {
    if (size > 0 && r.group == key) {
      ++size;
    } else {
      if (size > 0) s.groupSizes[groups] = size;
      ++groups;
      if (groups > kMaxGroups) throw DataError(file->name, r.line, ProblemId::TooManyGroups, kMaxGroups);
      key = r.group;
      size = 1;
    }
    if (size > kMaxGroupRecords) throw DataError(file->name, r.line, ProblemId::TooManyGroupRecords, kMaxGroupRecords);
  }
  // The state holds the record read last, as a reading of the whole file leaves it.
  if (!file->records.empty()) Assign(s, file->records.back());
  if (file->fault) throw *file->fault;
  s.groupSizes[groups] = size;
  return groups;
}

void AppendLine(StoryState& s, TextView line, TextView fileName) {
  if (s.lineCount >= kMaxTextLines)
    throw DataError(ToUtf8(fileName), 0, ProblemId::StoryTooLong, kMaxTextLines);
  ++s.lineCount;
  s.textLines[s.lineCount] = Text(line);
}

void PlayEpisodeStep(StoryState& s, Random& rng, const DataDir& dir, TextView fileName, bool markUsed) {
  s.stepRoll = Int(rng.Rnd() * 100);
  if (s.stepRoll < s.recChance) {
    s.stepKept = 1;
    if (markUsed)
      s.usedRecords[s.groupNo][s.pickedRecord] = 1;
  } else {
    s.stepKept = 0;
  }
  s.savedLineCount = s.lineCount;
  // The line the text starts on may already hold text (a paragraph indent, or an open last line
  // of the previous paragraph): a dropped step gives that line back as it was.
  const Text savedLine = s.textLines[s.savedLineCount];
  RenderPhraseFile(s, rng, dir);
  if (s.lineCount > 1 && s.recBreak == 0) {
    AppendLine(s, u"   ", fileName);
  } else if (s.lineCount > 1 && s.recBreak == 1) {
    AppendLine(s, u"   ", fileName);
    AppendLine(s, u"   ", fileName);
  }
  StepClock(s, rng);
  if (s.stepKept == 0) {
    for (Long i = s.savedLineCount + 1; i <= s.lineCount; ++i) s.textLines[i].clear();
    s.lineCount = s.savedLineCount;
    s.textLines[s.savedLineCount] = savedLine;
  }
}

void StepEpisodeFile(StoryState& s, Random& rng, const DataDir& dir, TextView fileName, bool repeatControl) {
  CountGroups(s, dir, fileName);
  const auto file = OpenEpisodeFile(dir, fileName);
  std::size_t next = 0;
  s.groupNo = 1;
  while (next < file->records.size()) {
    const Long size = s.groupSizes[s.groupNo];
    const auto& used = s.usedRecords[s.groupNo];
    bool anyFree = !repeatControl;
    for (Long r = 1; r <= size && !anyFree; ++r) anyFree = used[static_cast<std::size_t>(r)] == 0;
    s.pickedRecord = 0;
    if (anyFree) {
      do {
        s.pickedRecord = Int(rng.Rnd() * size + 1);
      } while (repeatControl && used[static_cast<std::size_t>(s.pickedRecord)] == 1);
    }
    for (s.recordNo = 1; s.recordNo <= size; ++s.recordNo) {
      const EpisodeRecord& r = file->records[next++];
      if (s.recordNo != s.pickedRecord) continue;
      Assign(s, r);
      if (s.observer) s.observer->Chosen(file->name, r.line);
      PlayEpisodeStep(s, rng, dir, fileName, repeatControl);
    }
    ++s.groupNo;
  }
  // The state holds the last record, as the reading of the whole file leaves it.
  if (!file->records.empty()) Assign(s, file->records.back());
}

}  // namespace quorbel
