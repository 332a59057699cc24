#include "cli/Cli.h"

#include <ostream>

namespace quorbel::cli {

int Run(const std::vector<std::string>&, std::ostream&, std::ostream& err) {
  err << "quorbel-cli: not built yet\n";
  return 1;
}

}  // namespace quorbel::cli
