// A small program on the shell: its window closes itself soon after the main loop has started,
// as a user closing it would, and the process must then end with exit code 0.
#include "shell.h"

namespace {

const quorvane::WindowDefinition kOnlyWindow = [] {
  quorvane::WindowDefinition w;
  w.name = "only";
  w.caption = "退出测试";
  w.outerWidth = 240;
  w.outerHeight = 160;
  w.controls = {quorvane::timer("时钟1", {0, 0, 0, 0}, 50)};
  w.bindings = {{"时钟1", quorvane::Event::Tick,
                 [] { ::PostMessageW(quorvane::windowHandle(kOnlyWindow), WM_CLOSE, 0, 0); }}};
  return w;
}();

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return quorvane::startUp(kOnlyWindow); }
