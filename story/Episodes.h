#pragma once
// Episode files: the seven-read records of the opening and main files, the three-read records
// of the final files, the group pass, and the step played on a chosen record.
#include <optional>
#include <vector>

#include "story/MaterialFiles.h"
#include "story/Random.h"
#include "story/StoryState.h"
#include "story/TextFile.h"

namespace quorbel {

// One seven-read record of an opening or main file.
struct EpisodeRecord {
  int line = 0;  // the line the record starts on
  Long group = 0;
  Text note;
  Long chance = 0;
  Long lineBreak = 0;
  Text phraseFile;
  Text days, minutes;  // the two ranges, checked
};

// A record's reads as written, each with its line; a record cut short holds the reads made.
struct EpisodeText {
  int line = 0;
  Item group, note, chance, lineBreak, phraseFile, days, minutes;
  int reads = 0;  // seven for a whole record
};

// An episode file as read once: its records up to the first fault, and that fault. written holds
// every record as written, also past a malformed field, up to a record the end of the file (or
// an unclosed quote) cuts short; cut is what stopped that reading.
struct EpisodeFile {
  std::string name;
  std::vector<EpisodeRecord> records;
  std::optional<DataError> fault;
  std::vector<EpisodeText> written;
  std::optional<ReadFault> cut;
  EpisodeText cutRecord;  // the reads of the record cut short
};

EpisodeFile ParseEpisodeFile(InputFile& f);
// The file's parsed model, kept by dir.
std::shared_ptr<const EpisodeFile> OpenEpisodeFile(const DataDir& dir, TextView fileName);

// A final file: three reads a record, the ending kind, a note line and the phrase file.
struct FinalText {
  int line = 0;
  Item kind, note, phraseFile;
  int reads = 0;  // three for a whole record
};
struct FinalFile {
  std::string name;
  std::vector<FinalText> written;
  std::optional<ReadFault> cut;
  FinalText cutRecord;
};
FinalFile ParseFinalFile(InputFile& f);
std::shared_ptr<const FinalFile> OpenFinalFile(const DataDir& dir, TextView fileName);
// A whole final record as the story reads it into recGroup, recNote, recPhraseFile; a phrase file
// name that leads out of the material folder is a data fault of file.
void AssignFinal(StoryState& s, const FinalFile& file, const FinalText& r);
// The record as the story state holds the one read last.
void Assign(StoryState& s, const EpisodeRecord& r);

// First pass over an episode file: groupSizes(1..n) from the runs of equal keys. Returns n.
// An empty file, more than 100 groups or more than 100 records in a group are data faults.
Long CountGroups(StoryState& s, const DataDir& dir, TextView fileName);

// The step on a chosen record: the keep roll, the phrase file, paragraph lines, the clock step
// and, if the roll failed, the text taken back. markUsed: the main episodes mark a kept record.
void PlayEpisodeStep(StoryState& s, Random& rng, const DataDir& dir, TextView fileName, bool markUsed);

// Steps an episode file: in every group one record is drawn and its step played. With
// repeatControl (the main episodes) a kept record is marked used and never drawn again, and a
// group whose records are all used is skipped: the redraw could never end there.
void StepEpisodeFile(StoryState& s, Random& rng, const DataDir& dir, TextView fileName, bool repeatControl);

// Appends a line to the story text; a story longer than the text array is a data fault of file.
void AppendLine(StoryState& s, TextView line, TextView fileName);

}  // namespace quorbel
