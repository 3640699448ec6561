// The fleet window's settings: the grid's display settings, the sort mode, column widths and
// the two sign-in options of its menu, each read or written per key when needed.
#include <string>

#include "platform/platform.h"
#include "settings/AutoRun.h"
#include "settings/IniFile.h"
#include "settings/SettingsFile.h"
#include "windows/fleet/TFormMain.h"

namespace {

constexpr int kDefaultFontSize = 11;
constexpr int kDefaultSortBy = 1;
constexpr int kAutoWidthMargin = 32;
constexpr int kHeaderRowHeight = 30;

std::string ColumnKey(int column) { return "col" + std::to_string(column); }

}  // namespace

void TFormMain::applySettings() {
  const TIniFile ini(SettingsFilePath());
  const int fontSize = ini.ReadInteger(kSectionGrid, "fontsize", kDefaultFontSize);
  grid->setFontPoints(fontSize);
  if (ini.ReadBool(kSectionGrid, "autorowheigth", false)) {
    grid->setDefaultRowHeight(fontSize * 30 / 11);
    grid->setHeaderHeight(kHeaderRowHeight);
  }
  if (ini.ReadBool(kSectionGrid, "autocolwidth", false)) {
    grid->fitColumnsToTexts(kAutoWidthMargin);
  } else {
    for (int column = 0; column < fleet::kColumns; ++column) {
      const int width = ini.ReadInteger(kSectionGrid, ColumnKey(column), 0);
      if (width != 0) grid->setColumnWidth(column, width);
    }
  }
  cb_sort->setCurrentIndex(ini.ReadInteger(kSectionGrid, "sortby", kDefaultSortBy));
  N19->setChecked(ini.ReadBool(kSectionKorvane, "autologin", false));
  N18->setChecked(ini.ReadBool(kSectionKorvane, "autorun", false));
}

void TFormMain::saveColWidth(int column, int width) {
  TIniFile ini(SettingsFilePath());
  if (ini.ReadBool(kSectionGrid, "autocolwidth", false)) return;
  ini.WriteInteger(kSectionGrid, ColumnKey(column), width);
}

void TFormMain::saveSortBy(int index) {
  TIniFile(SettingsFilePath()).WriteInteger(kSectionGrid, "sortby", index);
}

void TFormMain::saveLoginOptions() {
  TIniFile ini(SettingsFilePath());
  ini.WriteBool(kSectionKorvane, "autologin", N19->isChecked());
  ini.WriteBool(kSectionKorvane, "autorun", N18->isChecked());
}

// The menu has inverted the item's check mark by the time these run.
void TFormMain::N19Click() { saveLoginOptions(); }

void TFormMain::N18Click() {
  saveLoginOptions();
  SetAutoRun(platform::ExecutablePath(), !N18->isChecked());
}
