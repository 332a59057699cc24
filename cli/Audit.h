#pragma once
// quorbel-cli audit: how often the stories of a material folder choose each of its records.
#include <ostream>

#include "cli/Options.h"
#include "story/TextFile.h"

namespace quorbel::cli {

// Plays o.stories stories of the material in dir (settings at random) from seed o.seed and
// reports every phrase record, episode record, shade line and question with the number of
// times it was chosen.
int RunAudit(const Options& o, const DataDir& dir, std::ostream& out);

}  // namespace quorbel::cli
