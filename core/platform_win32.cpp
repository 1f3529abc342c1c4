// Win32 side of the platform module. Wide functions throughout, so that a folder whose name has
// characters outside code page 936 still works; paths beyond MAX_PATH get the "\\?\" form.
#include <windows.h>

#include <charconv>
#include <memory>

#include "platform.h"
#include "utf.h"

namespace quorvane {

namespace {

struct HandleCloser {
  void operator()(HANDLE handle) const { ::CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

UniqueHandle ownHandle(HANDLE handle) {
  return UniqueHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

std::wstring wideFromUtf8(std::string_view utf8) {
  const std::u16string utf16 = utf16FromUtf8(utf8);
  return std::wstring(utf16.begin(), utf16.end());
}

std::string utf8FromWide(std::wstring_view wide) {
  return utf8FromUtf16(
      std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

constexpr UINT kCodePageGbk = 936;

}  // namespace

Path withLongPathPrefix(const Path& path) {
  if (path.size() < MAX_PATH - 12 || path.starts_with(L"\\\\?\\")) return path;
  if (path.size() > 2 && path[1] == L':' && path[2] == L'\\') return L"\\\\?\\" + path;
  if (path.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + path.substr(2);
  return path;
}

Path pathFromAscii(std::string_view ascii) { return Path(ascii.begin(), ascii.end()); }

Path executablePath() {
  Path path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return Path();
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::optional<std::string> readWholeFile(const Path& file) {
  // A directory cannot be opened this way (no FILE_FLAG_BACKUP_SEMANTICS), so it reads as missing.
  const UniqueHandle handle = ownHandle(
      ::CreateFileW(withLongPathPrefix(file).c_str(), GENERIC_READ,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  LARGE_INTEGER size;
  if (!handle || !::GetFileSizeEx(handle.get(), &size)) return std::nullopt;
  std::string contents(static_cast<size_t>(size.QuadPart), '\0');
  size_t filled = 0;
  while (filled < contents.size()) {
    DWORD chunk = 0;
    const DWORD wanted = static_cast<DWORD>(std::min<size_t>(contents.size() - filled, 1 << 30));
    if (!::ReadFile(handle.get(), contents.data() + filled, wanted, &chunk, nullptr)) {
      return std::nullopt;
    }
    if (chunk == 0) break;
    filled += chunk;
  }
  contents.resize(filled);
  return contents;
}

bool replaceWholeFile(const Path& file, std::string_view contents) {
  const Path target = withLongPathPrefix(file);
  const DWORD attributes = ::GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
    return false;
  }
  char processId[16];
  const char* const processIdEnd =
      std::to_chars(processId, processId + sizeof processId, ::GetCurrentProcessId()).ptr;
  const Path temporary =
      target + L"." + pathFromAscii(std::string_view(processId, processIdEnd)) + L".tmp";
  bool written = false;
  {
    const UniqueHandle handle =
        ownHandle(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle) return false;
    DWORD count = 0;
    written = ::WriteFile(handle.get(), contents.data(), static_cast<DWORD>(contents.size()),
                          &count, nullptr) &&
              count == contents.size() && ::FlushFileBuffers(handle.get());
  }
  written = written && ::MoveFileExW(temporary.c_str(), target.c_str(),
                                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!written) ::DeleteFileW(temporary.c_str());
  return written;
}

bool isPresentAsFile(const Path& file) {
  // One attribute query answers it, in constant time. A directory search for the name would
  // too, but it walks the folder, which costs more the fuller the folder is, on every click.
  const DWORD attributes = ::GetFileAttributesW(withLongPathPrefix(file).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string gbkFromUtf8(std::string_view utf8) {
  const std::wstring wide = wideFromUtf8(utf8);
  if (wide.empty()) return {};
  const int n = ::WideCharToMultiByte(kCodePageGbk, 0, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, nullptr);
  std::string gbk(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(kCodePageGbk, 0, wide.data(), static_cast<int>(wide.size()), gbk.data(), n,
                        nullptr, nullptr);
  return gbk;
}

std::string utf8FromGbk(std::string_view gbk) {
  if (gbk.empty()) return {};
  const int n =
      ::MultiByteToWideChar(kCodePageGbk, 0, gbk.data(), static_cast<int>(gbk.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(kCodePageGbk, 0, gbk.data(), static_cast<int>(gbk.size()), wide.data(), n);
  return utf8FromWide(wide);
}

}  // namespace quorvane
