// Every text the two windows show, exactly: captions, labels, list items, buttons.
#include <gtest/gtest.h>

#include "build_options.h"
#include "window_test_support.h"

namespace quorvane {
namespace {

// What each element shows: its text, or for a list its items joined by "|".
using ExpectedTexts = std::vector<std::pair<std::string, std::string>>;

const std::string kTiers = "英勇黄铜|不屈白银|荣耀黄金|华贵铂金|璀璨钻石";
const std::string kLevels = "五|四|三|二|一";

const ExpectedTexts kCalculatorTexts = {
    {"", "Quorvane      QQ:" + std::string(kContactNumber)},
    {"透明标签2", "当前段位："},
    {"组合框_当前段位", kTiers},
    {"透明标签4", "目标段位："},
    {"组合框_目标段位", kTiers},
    {"透明标签3", "当前等级："},
    {"组合框_当前级别", kLevels},
    {"透明标签5", "目标等级："},
    {"组合框_目标级别", kLevels},
    {"透明标签6", "大区："},
    {"组合框_大区", "电一（艾欧尼亚）or 网一（比尔吉沃特）|其他服务器"},
    {"按钮1", "计算"},
    {"透明标签7", "平均胜点："},
    {"单选框_14", "0-14"},
    {"单选框_15", "15-17"},
    {"单选框_18以上", "18以上"},
    {"编辑框1", ""},
};

const ExpectedTexts kPriceSettingsTexts = {
    {"", ""},
    {"透明标签5",
     "1.下列填写每个段位的小级别价格（如：白银5-白银4=**）\r\n2.电一、网一价钱是每小段增加**\r\n"
     "3.胜点补价是总价增加**\r\n4.默认读取配置项，如需设置价格可以直接删除money.ini"},
    {"透明标签1", "黄铜    白银    黄金    铂金    钻石 "},
    {"透明标签2", "电一、网一每级加价："},
    {"透明标签4", "每盘01-14胜点补价："},
    {"透明标签3", "每盘15-17胜点补价："},
    {"按钮1", "保存"},
    {"按钮2", "重置"},
};

// The text an element shows now: labels are drawn by their window from their definition.
std::string shownText(const WindowDefinition& window, const std::string& element) {
  if (element.empty()) return windowText(windowHandle(window));
  const auto c = std::find_if(window.controls.begin(), window.controls.end(),
                              [&](const ControlDefinition& d) { return d.name == element; });
  if (c == window.controls.end()) return "<no such control>";
  if (c->kind == ControlKind::Label) return std::string(c->text);
  const HWND handle = controlHandle(window, element);
  if (c->kind != ControlKind::ComboBox) return windowText(handle);
  std::string items;
  const int count = static_cast<int>(::SendMessageW(handle, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    if (i > 0) items += '|';
    items += itemText(handle, i);
  }
  return items;
}

void expectTexts(const WindowDefinition& window, const ExpectedTexts& expected) {
  for (const auto& [element, text] : expected) {
    EXPECT_EQ(shownText(window, element), text) << window.name << " " << element;
  }
}

class WindowTextsTest : public testing::WindowTest {};

TEST_F(WindowTextsTest, CalculatorWindow) {
  writeSettings();
  ASSERT_TRUE(loadWindow(calculatorWindow(), nullptr, false));
  expectTexts(calculatorWindow(), kCalculatorTexts);
}

TEST_F(WindowTextsTest, PriceSettingsWindow) {
  testing::runSoon([] {
    expectTexts(priceSettingsWindow(), kPriceSettingsTexts);
    ::PostMessageW(windowHandle(priceSettingsWindow()), WM_CLOSE, 0, 0);
  });
  showSettingsWindow();
}

}  // namespace
}  // namespace quorvane
