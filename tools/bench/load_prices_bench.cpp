// Reading the prices. Under Wine: our loadPrices against the eight GetPrivateProfileStringA calls
// of an ANSI program, on the same "money.ini", taking turns. Natively: loadPrices on a typical
// file and on a 1 MB hand-edited one, against reading the file's bytes alone (the floor of any
// reader).
#include <filesystem>
#include <fstream>
#include <string>

#include "bench_stats.h"
#include "platform.h"
#include "price_table.h"
#include "settings_file.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

namespace fs = std::filesystem;
using quorvane::bench::microseconds;
using quorvane::bench::Samples;

const std::string kTypicalFile =
    "[\xBC\xDB\xB8\xF1]\r\nht=10\r\nby=20\r\nhj=30\r\nbj=40\r\nzs=50\r\ndq=5\r\n15=3\r\n14=8\r\n";

#ifndef _WIN32
// A hand-edited file of about 1 MB: notes and other sections first, the prices last.
std::string oneMegabyteFile() {
  std::string text = "; price history, kept by hand\r\n";
  for (int i = 0; text.size() < (1u << 20); ++i) {
    text += "[old " + std::to_string(i) + "]\r\nht = " + std::to_string(i % 97) +
            "\r\nnote = a line of remarks about this week's prices and customers\r\n\r\n";
  }
  return text + kTypicalFile;
}
#endif

void writeFile(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

void loadPrices() {
  quorvane::loadPrices([] {});
}

template <typename Baseline>
bool compare(const char* what, const char* baselineName, Baseline baseline, int rounds,
             double target) {
  Samples ours, theirs;
  for (int i = 0; i < rounds; ++i) {
    if (i % 2) {
      ours.add(microseconds(loadPrices));
      theirs.add(microseconds(baseline));
    } else {
      theirs.add(microseconds(baseline));
      ours.add(microseconds(loadPrices));
    }
  }
  return quorvane::bench::report(what, ours, theirs, baselineName, "us", target);
}

}  // namespace

int main() {
  const fs::path folder = fs::temp_directory_path() / "quorvane-load-prices-bench";
  fs::create_directories(folder);
  quorvane::fixRunDirectory(folder.native());
  const fs::path moneyIni = folder / "money.ini";
  bool met = true;

#ifdef _WIN32
  writeFile(moneyIni, kTypicalFile);
  const std::string path = moneyIni.string();
  const auto eightPlatformReads = [&] {
    char value[10240];
    for (const quorvane::PriceKey& key : quorvane::kPriceKeys) {
      ::GetPrivateProfileStringA("\xBC\xDB\xB8\xF1", std::string(key.iniKey).c_str(), nullptr,
                                 value, sizeof value, path.c_str());
    }
  };
  met &= compare("loadPrices, typical file", "8 x GetPrivateProfileStringA", eightPlatformReads,
                 2000, 1.0);
#else
  for (const auto& [what, bytes] :
       {std::pair<const char*, std::string>{"loadPrices, typical file", kTypicalFile},
        {"loadPrices, 1 MB hand-edited file", oneMegabyteFile()}}) {
    writeFile(moneyIni, bytes);
    const quorvane::Path file = moneyIni.native();
    // The floor is reading the bytes; the ratio shows what finding eight keys adds to it.
    compare(
        what, "reading the file", [&] { (void)quorvane::readWholeFile(file); }, 500, 0);
  }
#endif
  fs::remove_all(folder);
  return met ? 0 : 1;
}
