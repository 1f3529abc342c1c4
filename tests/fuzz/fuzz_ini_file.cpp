// Any bytes as "money.ini": reading every price key, writing one, and reading the result back.
// Nothing may crash or read out of bounds; a written value must read back as written; the bytes
// of the edited file must read as the same contents.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "price_table.h"
#include "settings_file.h"
#include "text_to_int.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quorvane;
  IniFileContents contents =
      iniFileFromBytes(std::string(reinterpret_cast<const char*>(data), size));
  for (const PriceKey& key : kPriceKeys) {
    (void)textToInt(iniValue(contents, kPriceSection, key.iniKey));
  }
  // The last byte picks the key to write, so that every key gets written somewhere.
  const PriceKey& key = kPriceKeys[size ? data[size - 1] % kPriceKeys.size() : 0];
  setIniValue(contents, kPriceSection, key.iniKey, "-12");
  if (iniValue(contents, kPriceSection, key.iniKey) != "-12") std::abort();

  const IniFileContents reread = iniFileFromBytes(iniFileBytes(contents));
  if (reread.form != contents.form || reread.text != contents.text) std::abort();
  return 0;
}
