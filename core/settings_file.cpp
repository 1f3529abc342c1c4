#include "settings_file.h"

#include "utf.h"

namespace quorvane {

namespace {

Path theRunDirectory;

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";

std::string utf8FromUtf16Le(std::string_view bytes) {
  std::u16string units(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  }
  return utf8FromUtf16(units);
}

std::string utf16LeFromUtf8(std::string_view utf8) {
  const std::u16string units = utf16FromUtf8(utf8);
  std::string bytes;
  bytes.reserve(units.size() * 2);
  for (const char16_t unit : units) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

// Names and values are GBK; a Unicode file is searched and edited with their UTF-8 forms.
std::string inFileEncoding(const IniFileContents& contents, std::string_view gbk) {
  return contents.encoding == TextEncoding::Utf8 ? utf8FromGbk(gbk) : std::string(gbk);
}

}  // namespace

Path directoryOfModulePath(const Path& modulePath) {
  const size_t separator = modulePath.find_last_of(kPathSeparator);
  return separator == Path::npos ? Path() : modulePath.substr(0, separator);
}

void fixRunDirectory(Path directory) { theRunDirectory = std::move(directory); }

const Path& runDirectory() { return theRunDirectory; }

Path settingsFilePath() { return runDirectory() + kPathSeparator + pathFromAscii("money.ini"); }

bool settingsFileExists() { return isPresentAsFile(settingsFilePath()); }

IniFileContents iniFileFromBytes(std::string bytes) {
  const std::string_view view = bytes;
  if (view.starts_with(kUtf8Bom)) {
    return {bytes.substr(kUtf8Bom.size()), TextEncoding::Utf8, IniFileContents::Form::Utf8WithBom};
  }
  if (view.starts_with(kUtf16LeBom)) {
    return {utf8FromUtf16Le(view.substr(kUtf16LeBom.size())), TextEncoding::Utf8,
            IniFileContents::Form::Utf16LeWithBom};
  }
  return {std::move(bytes), TextEncoding::Gbk, IniFileContents::Form::Ansi};
}

std::string iniFileBytes(const IniFileContents& contents) {
  switch (contents.form) {
    case IniFileContents::Form::Utf8WithBom: return std::string(kUtf8Bom) + contents.text;
    case IniFileContents::Form::Utf16LeWithBom:
      return std::string(kUtf16LeBom) + utf16LeFromUtf8(contents.text);
    case IniFileContents::Form::Ansi: break;
  }
  return contents.text;
}

IniFileContents readIniFile(const Path& file) {
  std::optional<std::string> bytes = readWholeFile(file);
  return bytes ? iniFileFromBytes(std::move(*bytes)) : IniFileContents{};
}

std::vector<std::string> iniValues(const IniFileContents& contents, std::string_view section,
                                   std::span<const std::string_view> keys) {
  std::vector<std::string> keysInFile;
  for (const std::string_view key : keys) keysInFile.push_back(inFileEncoding(contents, key));
  const std::vector<std::string_view> keyViews(keysInFile.begin(), keysInFile.end());
  std::vector<std::string> values =
      iniLookupAll(contents.text, contents.encoding, inFileEncoding(contents, section), keyViews);
  if (contents.encoding == TextEncoding::Utf8) {
    for (std::string& value : values) value = gbkFromUtf8(value);
  }
  return values;
}

std::string iniValue(const IniFileContents& contents, std::string_view section,
                     std::string_view key) {
  return std::move(iniValues(contents, section, std::span(&key, 1)).front());
}

std::string readIniText(const Path& file, std::string_view section, std::string_view key) {
  return iniValue(readIniFile(file), section, key);
}

void setIniValue(IniFileContents& contents, std::string_view section, std::string_view key,
                 std::string_view value) {
  contents.text = iniAssign(contents.text, contents.encoding, inFileEncoding(contents, section),
                            inFileEncoding(contents, key), inFileEncoding(contents, value));
}

bool writeIniText(const Path& file, std::string_view section, std::string_view key,
                  std::string_view value) {
  IniFileContents contents = readIniFile(file);
  const std::string before = contents.text;
  setIniValue(contents, section, key, value);
  // The key already holds that value: the file is as it should be, and is left untouched.
  if (contents.text == before) return true;
  return replaceWholeFile(file, iniFileBytes(contents));
}

}  // namespace quorvane
