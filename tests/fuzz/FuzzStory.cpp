// A whole story over the test material with one file replaced by the input: build, eight
// guesses, the ending and the save. A data fault is an expected outcome; anything else is not.
#include <cstdint>
#include <filesystem>

#include "FuzzMaterial.h"
#include "app/StorySession.h"
#include "story/DataError.h"

using quorbel::fuzz::FuzzMaterial;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static FuzzMaterial material(QUORBEL_FIXTURES "/story");
  material.With(data, size, [&] {
    quorbel::SeededRandom rng(size);
    quorbel::StorySession session(quorbel::DataDir(material.root()), rng);
    try {
      session.Load();
      session.TimerTick();
      static const char* const kGuesses[] = {"1234", "5678", "9012", "3456", "7890", "1357", "2468", "0246"};
      for (const char* guess : kGuesses) {
        if (session.finished()) break;
        session.PickDigits(guess);
        session.Ok();
      }
      if (session.finished()) session.Save(material.root() / "qrb.txt");
    } catch (const quorbel::DataError&) {
    }
  });
  return 0;
}
