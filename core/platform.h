// The pricing core's only contact with the operating system: the executable's path, reading and
// replacing a whole file, the existence test, and the code page 936 (GBK) conversion. One
// implementation for Win32 (wide functions, so any folder name works) and one for POSIX.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvane {

#ifdef _WIN32
using PathChar = wchar_t;
inline constexpr PathChar kPathSeparator = L'\\';
#else
using PathChar = char;
inline constexpr PathChar kPathSeparator = '/';
#endif

// A native path: UTF-16 on Windows, bytes elsewhere.
using Path = std::basic_string<PathChar>;

// ASCII text as a native path piece (file names such as "money.ini").
Path pathFromAscii(std::string_view ascii);

// The full path of the running executable.
Path executablePath();

// The whole contents of a regular file; nothing when it is missing, a directory or unreadable.
std::optional<std::string> readWholeFile(const Path& file);

// Replaces (or creates) a file with `contents`: the bytes go to a temporary file in the same
// folder, which then takes the file's place, so a crash or a full disk never leaves half a file.
// Fails, leaving everything as it was, when the file is read-only, is a directory, or the folder
// cannot be written.
bool replaceWholeFile(const Path& file, std::string_view contents);

// True when a directory entry of that name exists and is not a directory.
bool isPresentAsFile(const Path& file);

#ifdef _WIN32
// A path the file functions take at any length: beyond MAX_PATH they need the "\\?\" form (no
// manifest of ours opts into long paths), which must be absolute and use backslashes. Shorter
// paths, and those already in that form, stay as they are.
Path withLongPathPrefix(const Path& path);
#endif

// Code page 936 conversions. Characters that code page 936 lacks become "?"; byte sequences that
// are not valid become U+FFFD.
std::string gbkFromUtf8(std::string_view utf8);
std::string utf8FromGbk(std::string_view gbk);

}  // namespace quorvane
