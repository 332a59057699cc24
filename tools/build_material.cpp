// quorbel-material SRC_DIR OUT_DIR: converts the UTF-8 story sources into the Windows-1251 data
// folder the program reads, placing the break marks in phrase, person and shade lines.
#include <exception>
#include <iostream>

#include "tools/MarkText.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: quorbel-material SRC_DIR OUT_DIR\n"
                 "Converts the story sources (UTF-8, LF) into the data folder (Windows-1251, CR LF).\n";
    return 2;
  }
  try {
    quorbel::material::Hyphenator hyph;
    std::vector<quorbel::material::ConvertError> errors;
    auto stats = quorbel::material::ConvertTree(hyph, argv[1], argv[2], errors);
    for (const auto& e : errors) std::cerr << e.Format() << '\n';
    std::cout << stats.converted << " text files converted, " << stats.copied << " files copied, "
              << (stats.converted + stats.copied - stats.unchanged) << " written";
    if (!errors.empty()) std::cout << "; " << errors.size() << " errors";
    std::cout << '\n';
    return errors.empty() ? 0 : 1;
  } catch (const std::exception& e) {
    std::cerr << "quorbel-material: " << e.what() << '\n';
    return 1;
  }
}
