#pragma once
// The phrase engine: one phrase file (named by recPhraseFile) becomes finished story lines.
#include "story/Random.h"
#include "story/StoryState.h"
#include "story/TextFile.h"

namespace quorbel {

// Opens styleFolder & recPhraseFile & ".qrb", chooses phrases, substitutes tokens and appends
// the finished paragraphs to textLines. Throws DataError naming the file (and line) on a
// missing or malformed phrase file, or when the text would pass line 10000.
void RenderPhraseFile(StoryState& s, Random& rng, const DataDir& dir);

}  // namespace quorbel
