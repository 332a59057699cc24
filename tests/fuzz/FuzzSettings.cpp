// Reading quorbel.cfg, as the story build and the settings window read it.
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "FuzzMaterial.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsModel.h"
#include "story/DataError.h"

using quorbel::fuzz::FuzzMaterial;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static FuzzMaterial material(QUORBEL_FIXTURES "/story");
  const auto cfg = material.root() / quorbel::kSettingsFileName;
  {
    std::ofstream out(cfg, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  try {
    quorbel::ReadSettingsFile(cfg);
  } catch (const quorbel::DataError&) {
  }
  try {
    quorbel::SettingsModel model;
    model.Load(quorbel::DataDir(material.root()));
  } catch (const quorbel::DataError&) {
  }
  return 0;
}
