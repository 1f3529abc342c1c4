#include "price_settings_window.h"

#include "controls.h"
#include "platform.h"
#include "price_table.h"
#include "settings_file.h"
#include "shell.h"

namespace quorvane {

namespace {

// The fields are saved under the keys, and in the order, in which loadPrices reads them.
constexpr bool fieldsFollowThePriceKeys() {
  for (size_t i = 0; i < kPriceFields.size(); ++i) {
    if (kPriceFields[i].iniKey != kPriceKeys[i].iniKey) return false;
  }
  return kPriceFields.size() == kPriceKeys.size();
}
static_assert(fieldsFollowThePriceKeys());

// The order in which a save looks for an empty field, and in which 重置 empties them.
constexpr std::array<std::string_view, 8> kFieldCheckOrder{
    "编辑框_钻石价", "编辑框_铂金价",   "编辑框_黄金价",   "编辑框_白银价",
    "编辑框_黄铜价", "编辑框_大区加价", "编辑框_15胜点价", "编辑框_14胜点价"};

constexpr char kAcceptedCharacters[] = "0123456789-";
constexpr int kFieldLength = 3;

HWND field(std::string_view name) { return controlHandle(priceSettingsWindow(), name); }

constexpr char kInstructions[] =
    "1.下列填写每个段位的小级别价格（如：白银5-白银4=**）\r\n"
    "2.电一、网一价钱是每小段增加**\r\n"
    "3.胜点补价是总价增加**\r\n"
    "4.默认读取配置项，如需设置价格可以直接删除money.ini";

WindowDefinition makePriceSettingsWindow() {
  const LabelStyle red{rgb(255, 0, 0), 14, 700, false};
  const LabelStyle instructions{rgb(0, 136, 255), 14, 700, true};
  WindowDefinition w;
  w.name = "PriceSettingsWindow";
  w.caption = "";
  w.outerWidth = 396;
  w.outerHeight = 208;
  w.minimizeBox = true;
  w.maximizeBox = false;
  w.showInTaskbar = true;  // loaded modally all the same, so owned and without a taskbar button
  w.escCloses = true;
  w.enterMovesFocus = false;
  // Tab-order number 0 everywhere: the Tab order runs backwards through this list, from
  // 编辑框_黄铜价 to 按钮2.
  w.controls = {
      pushButton("按钮2", {312, 147, 56, 29}, "重置"),
      pushButton("按钮1", {216, 147, 56, 29}, "保存"),
      editBox("编辑框_14胜点价", {344, 117, 40, 24}, kFieldLength, kAcceptedCharacters),
      editBox("编辑框_15胜点价", {144, 153, 40, 24}, kFieldLength, kAcceptedCharacters),
      editBox("编辑框_大区加价", {144, 117, 40, 24}, kFieldLength, kAcceptedCharacters),
      editBox("编辑框_钻石价", {258, 87, 32, 24}, kFieldLength, kAcceptedCharacters),
      editBox("编辑框_铂金价", {195, 87, 32, 24}, kFieldLength, kAcceptedCharacters),
      editBox("编辑框_黄金价", {133, 87, 32, 24}, kFieldLength, kAcceptedCharacters),
      editBox("编辑框_白银价", {71, 87, 32, 24}, kFieldLength, kAcceptedCharacters),
      editBox("编辑框_黄铜价", {11, 87, 32, 24}, kFieldLength, kAcceptedCharacters),
      label("透明标签3", {0, 152, 144, 24}, "每盘15-17胜点补价：", red),
      label("透明标签4", {200, 117, 144, 24}, "每盘01-14胜点补价：", red),
      label("透明标签2", {0, 117, 144, 24}, "电一、网一每级加价：", red),
      label("透明标签1", {11, 64, 285, 24}, "黄铜    白银    黄金    铂金    钻石 ", red),
      label("透明标签5", {0, 3, 400, 56}, kInstructions, instructions),
  };
  w.bindings = {
      {"按钮1", Event::Clicked, savePrices},
      {"按钮2", Event::Clicked, clearPriceEdits},
  };
  return w;
}

}  // namespace

const WindowDefinition& priceSettingsWindow() {
  static const WindowDefinition definition = makePriceSettingsWindow();
  return definition;
}

void showSettingsWindow() { loadWindow(priceSettingsWindow(), nullptr, true); }

void savePrices() {
  for (const std::string_view name : kFieldCheckOrder) {
    if (windowText(field(name)).empty()) {
      showMessageBox("有必填项未填写！");
      return;
    }
  }
  // Every field is written as typed, in key order. A save counts only when all eight writes
  // succeeded: otherwise the window stays open and nothing is reloaded, rather than closing over
  // a file that lacks some prices (which would then quote with 0 for them).
  bool allWritten = true;
  for (const PriceField& f : kPriceFields) {
    allWritten &= writeIniText(settingsFilePath(), kPriceSection, f.iniKey,
                               gbkFromUtf8(windowText(field(f.editBox))));
  }
  if (!allWritten) return;
  loadPrices(showSettingsWindow);
  unloadWindow(priceSettingsWindow());
}

void clearPriceEdits() {
  for (const std::string_view name : kFieldCheckOrder) setWindowText(field(name), "");
}

}  // namespace quorvane
