// Shared by the tests of the two windows: a fresh run directory with or without "money.ini",
// and short ways to reach the windows' controls.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "calculator_window.h"
#include "controls.h"
#include "price_settings_window.h"
#include "price_table.h"
#include "settings_file.h"
#include "shell.h"
#include "temp_folder.h"
#include "ui_harness.h"

namespace quorvane::testing {

// The prices of the worked examples: ht 10, by 20, hj 30, bj 40, zs 50, dq 5, 15: 3, 14: 8.
inline const std::string kExampleSettings =
    "[\xBC\xDB\xB8\xF1]\r\nht=10\r\nby=20\r\nhj=30\r\nbj=40\r\nzs=50\r\ndq=5\r\n15=3\r\n14=8\r\n";
inline constexpr PriceTable kExamplePrices{10, 20, 30, 40, 50, 3, 8, 5};

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fixRunDirectory(folder.native());
    prices = PriceTable{};
  }
  void TearDown() override {
    for (const WindowDefinition* w : {&priceSettingsWindow(), &calculatorWindow()}) {
      if (const HWND window = windowHandle(*w)) ::DestroyWindow(window);
    }
    pumpFor(20);
    fixRunDirectory(Path());
    prices = PriceTable{};
  }

  std::filesystem::path moneyIni() const { return folder / "money.ini"; }
  void writeSettings(const std::string& bytes = kExampleSettings) const {
    writeFile(moneyIni(), bytes);
  }

  static HWND calculatorControl(std::string_view name) {
    return controlHandle(calculatorWindow(), name);
  }
  static HWND settingsControl(std::string_view name) {
    return controlHandle(priceSettingsWindow(), name);
  }
  // A click as the button's own click: the handler runs before this returns.
  static void click(HWND button) { ::SendMessageW(button, BM_CLICK, 0, 0); }

  // Types the eight prices into the open price settings window, in key order.
  static void fillPriceFields(const std::array<std::string, 8>& values) {
    for (size_t i = 0; i < kPriceFields.size(); ++i) {
      setWindowText(settingsControl(kPriceFields[i].editBox), values[i]);
    }
  }

  TempFolder folder;
};

}  // namespace quorvane::testing
