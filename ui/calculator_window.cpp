#include "calculator_window.h"

#include <algorithm>
#include <array>

#include "build_options.h"
#include "controls.h"
#include "price_settings_window.h"
#include "price_table.h"
#include "quote_line.h"
#include "rank_ladder.h"
#include "settings_file.h"
#include "shell.h"
#include "text.h"

namespace quorvane {

namespace {

constexpr char kCurrentTierList[] = "组合框_当前段位";
constexpr char kCurrentLevelList[] = "组合框_当前级别";
constexpr char kTargetTierList[] = "组合框_目标段位";
constexpr char kTargetLevelList[] = "组合框_目标级别";
constexpr char kRegionList[] = "组合框_大区";
constexpr char kOutputBox[] = "编辑框1";

// Tier and level lists hold their texts in ladder order, so a selected index is the tier or level.
constexpr std::array<std::string_view, 5> kTierTexts{"英勇黄铜", "不屈白银", "荣耀黄金", "华贵铂金",
                                                     "璀璨钻石"};
constexpr std::array<std::string_view, 5> kLevelTexts{"五", "四", "三", "二", "一"};
constexpr std::array<std::string_view, 2> kRegionTexts{"电一（艾欧尼亚）or 网一（比尔吉沃特）",
                                                       "其他服务器"};

// The win-point radio buttons, in the order a click tests them.
struct BandButton {
  const char* name;
  WinPointBand band;
};
constexpr std::array<BandButton, 3> kBandButtons{{
    {"单选框_18以上", WinPointBand::Band18Plus},
    {"单选框_15", WinPointBand::Band15To17},
    {"单选框_14", WinPointBand::Band0To14},
}};

HWND control(const char* name) { return controlHandle(calculatorWindow(), name); }

WindowDefinition makeCalculatorWindow() {
  WindowDefinition w;
  w.name = "CalculatorWindow";
  w.caption = "Quorvane      QQ:" + std::string(kContactNumber);
  w.outerWidth = 410;
  w.outerHeight = 297;
  w.minimizeBox = true;
  w.maximizeBox = false;
  w.showInTaskbar = true;
  w.escCloses = false;
  w.enterMovesFocus = false;
  // Every control has tab-order number 0, so the Tab order runs backwards through this list:
  // the lists first, then the radio buttons, "计算" and the output box.
  w.controls = {
      timer("时钟1", {368, 184, 0, 0}, 7200000),
      outputBox(kOutputBox, {-1, 170, 416, 102}, rgb(0, 255, 0), rgb(0, 0, 0)),
      pushButton("按钮1", {264, 96, 96, 48}, "计算"),
      radioButton("单选框_18以上", {169, 140, 64, 24}, "18以上", true),
      radioButton("单选框_15", {105, 140, 64, 24}, "15-17", false),
      radioButton("单选框_14", {57, 140, 64, 24}, "0-14", false),
      label("透明标签7", {3, 142, 53, 16}, "平均胜点："),
      comboBox(kRegionList, {59, 100, 120, 20}, kRegionTexts),
      label("透明标签6", {3, 100, 48, 16}, "大区："),
      comboBox(kTargetLevelList, {283, 52, 120, 20}, kLevelTexts),
      label("透明标签5", {227, 52, 64, 16}, "目标等级："),
      comboBox(kTargetTierList, {283, 12, 120, 20}, kTierTexts),
      label("透明标签4", {227, 14, 56, 16}, "目标段位："),
      comboBox(kCurrentLevelList, {59, 52, 120, 20}, kLevelTexts),
      label("透明标签3", {5, 52, 56, 16}, "当前等级："),
      comboBox(kCurrentTierList, {59, 12, 120, 20}, kTierTexts),
      label("透明标签2", {5, 13, 56, 16}, "当前段位："),
  };
  w.bindings = {
      {"", Event::Created, [] { loadPrices(showSettingsWindow); }},
      {"按钮1", Event::Clicked, onCalculateClicked},
      {"时钟1", Event::Tick, [] {}},  // ticks every two hours and changes nothing
  };
  return w;
}

}  // namespace

const WindowDefinition& calculatorWindow() {
  static const WindowDefinition definition = makeCalculatorWindow();
  return definition;
}

void onCalculateClicked() {
  const QuoteRequest request{
      selectedIndex(control(kCurrentTierList)), selectedIndex(control(kCurrentLevelList)),
      selectedIndex(control(kTargetTierList)), selectedIndex(control(kTargetLevelList)),
      selectedIndex(control(kRegionList))};
  // Without settings there is nothing to quote with: ask for them, and quote on the next click.
  if (!settingsFileExists()) {
    showSettingsWindow();
    return;
  }
  // No message is handled since the lists were read, so their selections still stand.
  const std::array<int32_t, 5> selectionsInCheckOrder{request.region, request.currentLevel,
                                                      request.currentTier, request.targetLevel,
                                                      request.targetTier};
  if (std::find(selectionsInCheckOrder.begin(), selectionsInCheckOrder.end(), -1) !=
      selectionsInCheckOrder.end()) {
    showMessageBox("有必选项未选中");
    return;
  }
  // A route that does not go upward has no price: the click ends without a word.
  const std::optional<int32_t> basePrice = computeBasePrice(request, prices);
  if (!basePrice) return;
  for (const BandButton& button : kBandButtons) {
    if (!isChecked(control(button.name))) continue;
    appendOutputText(buildQuoteLine(itemText(control(kCurrentTierList), request.currentTier),
                                    itemText(control(kCurrentLevelList), request.currentLevel),
                                    itemText(control(kTargetTierList), request.targetTier),
                                    itemText(control(kTargetLevelList), request.targetLevel),
                                    quotePriceText(button.band, *basePrice, prices)));
  }
}

void appendOutputText(std::string_view text) {
  const HWND box = control(kOutputBox);
  const WPARAM end = static_cast<WPARAM>(::GetWindowTextLengthW(box));
  ::SendMessageW(box, EM_SETSEL, end, static_cast<LPARAM>(end));
  ::SendMessageW(box, EM_SCROLLCARET, 0, 0);
  ::SendMessageW(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(widen(text).c_str()));
}

}  // namespace quorvane
