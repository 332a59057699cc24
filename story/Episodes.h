#pragma once
// Episode files: the seven-read records of the opening and main files, the three-read records
// of the final files, the group pass, and the step played on a chosen record.
#include <optional>
#include <vector>

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

// An episode file as read once: its records up to the first fault, and that fault.
struct EpisodeFile {
  std::string name;
  std::vector<EpisodeRecord> records;
  std::optional<DataError> fault;
};

EpisodeRecord ReadEpisode(InputFile& f);
EpisodeFile ParseEpisodeFile(InputFile& f);
// The file's parsed model, kept by dir.
std::shared_ptr<const EpisodeFile> OpenEpisodeFile(const DataDir& dir, TextView fileName);
// The record as the story state holds the one read last.
void Assign(StoryState& s, const EpisodeRecord& r);

// Reads one seven-read record into the rec* members; checks the two ranges.
void ReadEpisodeRecord(InputFile& f, StoryState& s);
// Reads one three-read record of a final file: recGroup, recNote, recPhraseFile.
void ReadFinalRecord(InputFile& f, StoryState& s);

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
