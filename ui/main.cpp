// quorvane.exe: the program is its start window, the calculator.
#include <windows.h>

#include <cstdlib>
#include <exception>

#include "calculator_window.h"
#include "shell.h"

// An exception nobody catches ends the program at once. libstdc++'s own handler would first
// print the exception's demangled type name to a console this GUI program does not have, and
// brings a demangler and a second printf along: an eighth of the executable.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  return quorvane::startUp(quorvane::calculatorWindow());
}
