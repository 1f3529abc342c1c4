#include "price_table.h"

#include "settings_file.h"
#include "text_to_int.h"

namespace quorvane {

PriceTable prices;

void loadPrices(const std::function<void()>& showSettingsWindow) {
  if (!settingsFileExists()) showSettingsWindow();
  // Read once, then look up the eight keys: the file is not tested again, and a key that cannot
  // be read gives 0.
  const IniFileContents file = readIniFile(settingsFilePath());
  for (const PriceKey& key : kPriceKeys) {
    prices.*key.field = textToInt(iniValue(file, kPriceSection, key.iniKey));
  }
}

}  // namespace quorvane
