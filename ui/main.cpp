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
  // DLLs that load later (input methods, fonts) come from the system folder only, never from the
  // folder the program was started in, where anybody may have put a file of the same name.
  ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  return quorvane::startUp(quorvane::calculatorWindow());
}
