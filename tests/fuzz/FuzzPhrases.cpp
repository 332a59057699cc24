// The phrase engine on one phrase file: the input is the file, rendered for a small story state
// (a cast, a shade group, a day) with a generator seeded from the input's length.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>

#include "FuzzMaterial.h"
#include "phrases/PhraseEngine.h"
#include "story/DataError.h"

using quorbel::fuzz::FuzzMaterial;

namespace {

std::unique_ptr<quorbel::StoryState> FreshState() {
  auto s = std::make_unique<quorbel::StoryState>();
  s->styleFolder = u"det/";
  s->recPhraseFile = u"fuzz";
  s->settings[quorbel::setting::Absurdity] = 2;
  s->settings[quorbel::setting::Month] = 6;
  s->dayOfMonth = 15;
  s->dayOfYear = 166;
  s->startDayOfYear = 166;
  s->clockTime = u"12:00";
  s->startTime = u"09:00";
  static const char16_t* const kCast[] = {u"", u"Ива|нов1", u"Пет|ров2", u"Си|до|ров3", u"Гусь4", u"Ко|тов5",
                                          u"Ли|син6", u"Ежов7", u"Вол|ков8", u"Мед|ве|дев9", u"Бо|бров0"};
  for (std::size_t i = 1; i <= 10; ++i) {
    s->castForms[i] = kCast[i];
    s->castNames[i] = kCast[i];
  }
  s->shadeTitles[1] = u"запах";
  s->shadeCounts[1] = 2;
  s->shadeLines[1][1] = u"дым";
  s->shadeLines[1][2] = u"мята";
  s->attemptNo = 2;
  s->guesses[1] = u"1234";
  s->results[1] = u" 1 1";
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static FuzzMaterial material(QUORBEL_FIXTURES "/story");
  {
    std::ofstream out(material.root() / "det" / "fuzz.qrb", std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  static std::unique_ptr<quorbel::StoryState> s;
  s = FreshState();
  quorbel::SeededRandom rng(size);
  try {
    quorbel::RenderPhraseFile(*s, rng, quorbel::DataDir(material.root()));
  } catch (const quorbel::DataError&) {
  }
  return 0;
}
