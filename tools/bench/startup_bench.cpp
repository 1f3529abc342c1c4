// Start-up and memory: quorvane.exe (with a "money.ini" beside it) against a bare program that
// shows one empty window of the same size, taking turns. Start-up runs from process start until
// the window is visible; memory is the peak working set once the window is up.
//   startup_bench QUORVANE.EXE BARE.EXE [RUNS]
#include <windows.h>

#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "bench_stats.h"

namespace {

namespace fs = std::filesystem;
using quorvane::bench::Samples;

HWND visibleWindowOf(DWORD process) {
  struct Search {
    DWORD process;
    HWND found;
  } search{process, nullptr};
  ::EnumWindows(
      [](HWND w, LPARAM p) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(p);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(w, &owner);
        if (owner != s.process || !::IsWindowVisible(w)) return TRUE;
        s.found = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

struct Run {
  double startupMs;
  double peakWorkingSetKb;
};

Run runOnce(const fs::path& program) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::wstring commandLine = L"\"" + program.wstring() + L"\"";
  const auto start = std::chrono::steady_clock::now();
  if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        program.parent_path().c_str(), &startup, &process)) {
    std::fprintf(stderr, "cannot start %ls\n", program.c_str());
    std::exit(2);
  }
  HWND window = nullptr;
  // Polled gently: a busy wait would take a processor from the program being measured.
  while (!(window = visibleWindowOf(process.dwProcessId))) ::Sleep(1);
  const double startupMs =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  // Let the first paint and the start-up's follow-up work finish before memory is read.
  ::WaitForInputIdle(process.hProcess, 5000);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  PROCESS_MEMORY_COUNTERS memory{};
  ::GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory);
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  ::WaitForSingleObject(process.hProcess, 10000);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return {startupMs, static_cast<double>(memory.PeakWorkingSetSize) / 1024};
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fputs("usage: startup_bench QUORVANE.EXE BARE.EXE [RUNS]\n", stderr);
    return 2;
  }
  const int runs = argc > 3 ? _wtoi(argv[3]) : 15;
  // Each program in a folder of its own; Quorvane with its settings, so the calculator shows.
  const fs::path folder = fs::temp_directory_path() / "quorvane-startup-bench";
  fs::create_directories(folder / "quorvane");
  fs::create_directories(folder / "bare");
  const fs::path quorvane = folder / "quorvane" / "quorvane.exe";
  const fs::path bare = folder / "bare" / "bare_window.exe";
  fs::copy_file(argv[1], quorvane, fs::copy_options::overwrite_existing);
  fs::copy_file(argv[2], bare, fs::copy_options::overwrite_existing);
  std::ofstream(folder / "quorvane" / "money.ini", std::ios::binary)
      << "[\xBC\xDB\xB8\xF1]\r\nht=10\r\nby=20\r\nhj=30\r\nbj=40\r\nzs=50\r\ndq=5\r\n15=3\r\n14="
         "8\r\n";

  runOnce(quorvane);  // the first start of each warms the file cache
  runOnce(bare);
  Samples quorvaneStartup, bareStartup, quorvaneMemory, bareMemory;
  for (int i = 0; i < runs; ++i) {
    for (const bool ours : {i % 2 == 0, i % 2 != 0}) {
      const Run run = runOnce(ours ? quorvane : bare);
      (ours ? quorvaneStartup : bareStartup).add(run.startupMs);
      (ours ? quorvaneMemory : bareMemory).add(run.peakWorkingSetKb);
    }
  }
  bool met = quorvane::bench::report("start-up until the window is visible", quorvaneStartup,
                                     bareStartup, "bare", "ms", 1.10);
  met &=
      quorvane::bench::report("peak working set", quorvaneMemory, bareMemory, "bare", "KB", 1.25);
  const auto size = fs::file_size(quorvane);
  std::printf("%-40s %ju bytes (%.0f KiB, target < 512 KiB) %s\n", "quorvane.exe size",
              static_cast<uintmax_t>(size), size / 1024.0, size < 512 * 1024 ? "ok" : "MISSED");
  met &= size < 512 * 1024;
  fs::remove_all(folder);
  return met ? 0 : 1;
}
