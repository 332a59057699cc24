#include <iostream>

#include "cli/Cli.h"
#include "story/Platform.h"

int main(int argc, char** argv) {
  quorbel::UseUtf8Console();
  return quorbel::cli::Run(quorbel::Utf8Arguments(argc, argv), std::cout, std::cerr);
}
