#pragma once
// What the settings window shows and how its arrows and lists move, without the window: the style,
// theme and realism lists with their current positions, the six condition lists and the freeze
// flag, read from the style catalogue and "quorbel.cfg" and written back to it.
#include <array>
#include <vector>

#include "settings/SettingsFile.h"
#include "story/Text.h"
#include "story/TextFile.h"

namespace quorbel {

// The six condition lists, Combo4..Combo9, entry 0 = random.
enum class ConditionList { Month = 4, TimeOfDay = 5, Clouds = 6, Wind = 7, Temperature = 8, Precipitation = 9 };
const std::vector<Text>& ConditionEntries(int combo);  // combo 4..9

class SettingsModel {
 public:
  SettingsModel();

  // Form_Load: reads "styles.qrb", "quorbel.cfg" and, for a fixed style, its theme catalogue.
  // A missing "quorbel.cfg" leaves every entry at random. Values beyond a list select its last
  // entry. Throws DataError for a missing catalogue or an unreadable settings file; the model
  // then still holds what was read before the fault, so the window can open.
  void Load(const DataDir& dir);
  // The same from values already read (the settings file's ten numbers, 1..10).
  void Apply(const DataDir& dir, const SettingsValues& values);

  // Captions of Label11, Label12, Label13.
  const Text& styleCaption() const { return styleCaption_; }
  const Text& themeCaption() const { return themeCaption_; }
  const Text& realismCaption() const { return realismCaption_; }
  int stylePosition() const { return stylePos_; }
  int themePosition() const { return themePos_; }
  int realismPosition() const { return realismPos_; }
  int styleCount() const { return static_cast<int>(styleNames_.size()) - 1; }
  // 0 while no theme catalogue has been read in this opening of the window.
  int themeCount() const { return themeCount_; }

  // The arrows. The wrap tests compare the caption with the first or last entry of the list.
  void PreviousStyle();                  // Command3
  void NextStyle();                      // Command4
  void PreviousTheme(const DataDir& dir);  // Command5; throws DataError for a missing catalogue
  void NextTheme(const DataDir& dir);      // Command6
  void NextRealism();                    // Command8 (the up arrow)
  void PreviousRealism();                // Command7

  int comboIndex(int combo) const { return combos_[static_cast<std::size_t>(combo)]; }
  void setComboIndex(int combo, int index);
  bool freeze() const { return freeze_; }
  void setFreeze(bool on) { freeze_ = on; }

  // The ten values "ОК" writes.
  SettingsValues Values() const;
  void Save(const DataDir& dir) const;

 private:
  void ReadThemes(const DataDir& dir, int stylePos);
  const Text& StyleName(int pos) const { return styleNames_[static_cast<std::size_t>(pos)]; }
  const Text& ThemeName(int pos) const { return themeNames_[static_cast<std::size_t>(pos)]; }

  // Element 0 unused; element 1 the random entry.
  std::vector<Text> styleFolders_;
  std::vector<Text> styleNames_;
  std::vector<Text> themeNames_;
  int themeCount_ = 0;
  std::vector<Text> realismNames_;
  int stylePos_ = 1, themePos_ = 1, realismPos_ = 1;
  Text styleCaption_, themeCaption_, realismCaption_;
  std::array<int, 10> combos_{};  // 4..9 used
  bool freeze_ = false;
};

// The first "_Z_" of a theme line shown as "...".
Text ThemeDisplayName(TextView line);

}  // namespace quorbel
