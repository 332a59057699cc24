// The material checker over the test material with one file replaced by the input. The checker
// turns every fault into a finding, so any exception that leaves it is a fault of its own.
#include <cstdint>
#include <sstream>

#include "FuzzMaterial.h"
#include "cli/Checker.h"

using quorbel::fuzz::FuzzMaterial;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static FuzzMaterial material(QUORBEL_FIXTURES "/story");
  material.With(data, size, [&] {
    std::ostringstream out;
    quorbel::cli::RunCheck(quorbel::DataDir(material.root()), out);
  });
  return 0;
}
