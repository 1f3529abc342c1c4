#include "price_table.h"

#include "settings_file.h"
#include "text_to_int.h"

namespace quorvane {

PriceTable prices;

void loadPrices(const std::function<void()>& showSettingsWindow) {
  if (!settingsFileExists()) showSettingsWindow();
  // The file is read once and the eight keys found in one pass; it is not tested again, and a
  // key that cannot be read gives 0.
  std::array<std::string_view, kPriceKeys.size()> keys;
  for (size_t i = 0; i < kPriceKeys.size(); ++i) keys[i] = kPriceKeys[i].iniKey;
  const std::vector<std::string> values =
      iniValues(readIniFile(settingsFilePath()), kPriceSection, keys);
  for (size_t i = 0; i < kPriceKeys.size(); ++i) {
    prices.*kPriceKeys[i].field = textToInt(values[i]);
  }
}

}  // namespace quorvane
