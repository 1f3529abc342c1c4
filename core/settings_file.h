// "money.ini", the settings file beside the executable: where it is, whether it is there, and
// reading and writing one key of it. Its texts are code page 936 (GBK) bytes, exactly as an ANSI
// program on a Chinese Windows writes them; section, key and value texts here are such bytes.
#pragma once

#include <string>
#include <string_view>

#include "ini_text.h"
#include "platform.h"

namespace quorvane {

// The section that holds the prices: "价格" in code page 936.
inline constexpr std::string_view kPriceSection = "\xBC\xDB\xB8\xF1";

// The folder part of an executable's path: everything before its last separator, without the
// separator, so that a program in a drive's root gives "C:". No separator: the empty path.
Path directoryOfModulePath(const Path& modulePath);

// The folder of the running program, fixed once at start-up; "money.ini" lives there.
void fixRunDirectory(Path directory);
const Path& runDirectory();

// runDirectory followed by the separator and "money.ini".
Path settingsFilePath();

// True when "money.ini" is present as a file. Its contents are not looked at; a directory of that
// name counts as absent.
bool settingsFileExists();

// A settings file as read once, ready for any number of lookups. A file that starts with a UTF-8
// or UTF-16 LE byte-order mark (as a hand edit in Notepad may leave it) is read in that encoding.
struct IniFileContents {
  std::string text;  // GBK or UTF-8 bytes, see `encoding`
  TextEncoding encoding = TextEncoding::Gbk;
  enum class Form { Ansi, Utf8WithBom, Utf16LeWithBom } form = Form::Ansi;
};

// The contents of a file's bytes, and the bytes of contents, in the form they were read in.
IniFileContents iniFileFromBytes(std::string bytes);
std::string iniFileBytes(const IniFileContents& contents);

// A missing or unreadable file reads as empty contents.
IniFileContents readIniFile(const Path& file);

// The value of `key` in `section`, as code page 936 bytes; the empty text when the file, section,
// key or value is missing.
std::string iniValue(const IniFileContents& contents, std::string_view section,
                     std::string_view key);

// iniValue for several keys of one section, found in one pass over the contents.
std::vector<std::string> iniValues(const IniFileContents& contents, std::string_view section,
                                   std::span<const std::string_view> keys);

// Sets `key` in `section` to `value` (code page 936 bytes), as writeIniText does on disk.
void setIniValue(IniFileContents& contents, std::string_view section, std::string_view key,
                 std::string_view value);

// readIniFile and iniValue in one: the value text of one key.
std::string readIniText(const Path& file, std::string_view section, std::string_view key);

// Sets one key, creating the file and the section when they are missing and keeping every other
// line. False when the file cannot be written (read-only, a directory, a folder without write
// access): the file then stays as it was.
bool writeIniText(const Path& file, std::string_view section, std::string_view key,
                  std::string_view value);

}  // namespace quorvane
