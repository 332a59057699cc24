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

void ReadEpisodeRecord(InputFile& f, StoryState& s) {
  s.recGroup = f.ReadNumberField();
  s.recNote = f.ReadLine();
  s.recChance = f.ReadNumberField();
  s.recBreak = f.ReadNumberField();
  s.recPhraseFile = ReadName(f, false);
  s.recDays = ReadRange(f);
  s.recMinutes = ReadRange(f);
}

void ReadFinalRecord(InputFile& f, StoryState& s) {
  s.recGroup = f.ReadNumberField();
  s.recNote = f.ReadLine();
  s.recPhraseFile = ReadName(f, false);
}

Long CountGroups(StoryState& s, const DataDir& dir, TextView fileName) {
  InputFile f = dir.Open(fileName);
  if (f.Eof()) f.Fail("the episode file holds no record");
  Long groups = 0;
  Long size = 0;
  Long key = 0;
  while (!f.Eof()) {
    int line = f.LineNumber();
    ReadEpisodeRecord(f, s);
    if (size > 0 && s.recGroup == key) {
      ++size;
    } else {
      if (size > 0) s.groupSizes[static_cast<std::size_t>(groups)] = size;
      ++groups;
      if (groups > kMaxGroups) throw DataError(f.name(), line, "more than 100 groups");
      key = s.recGroup;
      size = 1;
    }
    if (size > kMaxGroupRecords) throw DataError(f.name(), line, "more than 100 records in one group");
  }
  s.groupSizes[static_cast<std::size_t>(groups)] = size;
  return groups;
}

void AppendLine(StoryState& s, TextView line, TextView fileName) {
  if (s.lineCount >= kMaxTextLines)
    throw DataError(ToUtf8(fileName), 0, "the story grows past 10000 lines");
  ++s.lineCount;
  s.textLines[static_cast<std::size_t>(s.lineCount)] = Text(line);
}

void PlayEpisodeStep(StoryState& s, Random& rng, const DataDir& dir, TextView fileName, bool markUsed) {
  s.stepRoll = Int(rng.Rnd() * 100);
  if (s.stepRoll < s.recChance) {
    s.stepKept = 1;
    if (markUsed)
      s.usedRecords[static_cast<std::size_t>(s.groupNo)][static_cast<std::size_t>(s.pickedRecord)] = 1;
  } else {
    s.stepKept = 0;
  }
  s.savedLineCount = s.lineCount;
  // The line the text starts on may already hold text (a paragraph indent, or an open last line
  // of the previous paragraph): a dropped step gives that line back as it was.
  const Text savedLine = s.textLines[static_cast<std::size_t>(s.savedLineCount)];
  RenderPhraseFile(s, rng, dir);
  if (s.lineCount > 1 && s.recBreak == 0) {
    AppendLine(s, u"   ", fileName);
  } else if (s.lineCount > 1 && s.recBreak == 1) {
    AppendLine(s, u"   ", fileName);
    AppendLine(s, u"   ", fileName);
  }
  StepClock(s, rng);
  if (s.stepKept == 0) {
    for (Long i = s.savedLineCount + 1; i <= s.lineCount; ++i) s.textLines[static_cast<std::size_t>(i)].clear();
    s.lineCount = s.savedLineCount;
    s.textLines[static_cast<std::size_t>(s.savedLineCount)] = savedLine;
  }
}

void StepEpisodeFile(StoryState& s, Random& rng, const DataDir& dir, TextView fileName, bool repeatControl) {
  CountGroups(s, dir, fileName);
  InputFile f = dir.Open(fileName);
  s.groupNo = 1;
  while (!f.Eof()) {
    const Long size = s.groupSizes[static_cast<std::size_t>(s.groupNo)];
    const auto& used = s.usedRecords[static_cast<std::size_t>(s.groupNo)];
    bool anyFree = !repeatControl;
    for (Long r = 1; r <= size && !anyFree; ++r) anyFree = used[static_cast<std::size_t>(r)] == 0;
    s.pickedRecord = 0;
    if (anyFree) {
      do {
        s.pickedRecord = Int(rng.Rnd() * size + 1);
      } while (repeatControl && used[static_cast<std::size_t>(s.pickedRecord)] == 1);
    }
    for (s.recordNo = 1; s.recordNo <= size; ++s.recordNo) {
      const int line = f.LineNumber();
      ReadEpisodeRecord(f, s);
      if (s.recordNo != s.pickedRecord) continue;
      if (s.observer) s.observer->Chosen(f.name(), line);
      PlayEpisodeStep(s, rng, dir, fileName, repeatControl);
    }
    ++s.groupNo;
  }
}

}  // namespace quorbel
