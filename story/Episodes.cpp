#include "story/Episodes.h"

#include "clock/StoryClock.h"
#include "phrases/PhraseEngine.h"

namespace quorbel {

namespace {

Text ReadRange(InputFile& f) {
  int line = f.LineNumber();
  Text range = f.ReadLine();
  Long lo = 0, hi = 0;
  if (!ParseRange(range, lo, hi) || lo > hi)
    throw DataError(f.name(), line, "a range lo-hi with lo <= hi was expected, not " + Quoted(range));
  return range;
}

}  // namespace

EpisodeRecord ReadEpisode(InputFile& f) {
  EpisodeRecord r;
  r.line = f.LineNumber();
  r.group = f.ReadNumberField();
  r.note = f.ReadLine();
  r.chance = f.ReadNumberField();
  r.lineBreak = f.ReadNumberField();
  r.phraseFile = ReadName(f, false);
  r.days = ReadRange(f);
  r.minutes = ReadRange(f);
  return r;
}

EpisodeFile ParseEpisodeFile(InputFile& f) {
  EpisodeFile m;
  m.name = f.name();
  try {
    while (!f.Eof()) m.records.push_back(ReadEpisode(f));
  } catch (const DataError& e) {
    m.fault = e;
  }
  return m;
}

std::shared_ptr<const EpisodeFile> OpenEpisodeFile(const DataDir& dir, TextView fileName) {
  return dir.Parsed<EpisodeFile>(fileName, ParseEpisodeFile);
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

void ReadEpisodeRecord(InputFile& f, StoryState& s) { Assign(s, ReadEpisode(f)); }

void ReadFinalRecord(InputFile& f, StoryState& s) {
  s.recGroup = f.ReadNumberField();
  s.recNote = f.ReadLine();
  s.recPhraseFile = ReadName(f, false);
}

Long CountGroups(StoryState& s, const DataDir& dir, TextView fileName) {
  const auto file = OpenEpisodeFile(dir, fileName);
  if (file->records.empty() && !file->fault) throw DataError(file->name, 1, "the episode file holds no record");
  Long groups = 0;
  Long size = 0;
  Long key = 0;
  for (const EpisodeRecord& r : file->records) {
    if (size > 0 && r.group == key) {
      ++size;
    } else {
      if (size > 0) s.groupSizes[groups] = size;
      ++groups;
      if (groups > kMaxGroups) throw DataError(file->name, r.line, "more than 100 groups");
      key = r.group;
      size = 1;
    }
    if (size > kMaxGroupRecords) throw DataError(file->name, r.line, "more than 100 records in one group");
  }
  // The state holds the record read last, as a reading of the whole file leaves it.
  if (!file->records.empty()) Assign(s, file->records.back());
  if (file->fault) throw *file->fault;
  s.groupSizes[groups] = size;
  return groups;
}

void AppendLine(StoryState& s, TextView line, TextView fileName) {
  if (s.lineCount >= kMaxTextLines)
    throw DataError(ToUtf8(fileName), 0, "the story grows past 10000 lines");
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
