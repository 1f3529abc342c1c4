// INI text in memory, read and edited the way the Windows private-profile functions read and
// write files: byte-oriented, so that the section name and values stay in the file's own encoding.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// How the bytes of an INI text form characters: code page 936 (a lead byte 0x81..0xFE takes the
// next byte as its trail, which may look like ASCII), or UTF-8 (ASCII bytes are always ASCII).
enum class TextEncoding { Gbk, Utf8 };

// The longest value a read returns, in bytes (the platform's read into a 10240-byte buffer).
inline constexpr size_t kMaxIniValueLength = 10239;

// The value of `key` in the first section named `section`, as the private-profile read returns
// it: names match ASCII-case-insensitively with surrounding blanks ignored, the first matching
// key wins, blanks around the value and one pair of enclosing quotes (" or ') are removed, and
// the value is cut at kMaxIniValueLength bytes. Missing section, key or value: the empty text.
std::string iniLookup(std::string_view text, TextEncoding encoding, std::string_view section,
                      std::string_view key);

// The values of several keys of one section, found in one pass: for each key what iniLookup
// returns for it.
std::vector<std::string> iniLookupAll(std::string_view text, TextEncoding encoding,
                                      std::string_view section,
                                      std::span<const std::string_view> keys);

// `text` with `key` of `section` set to `value`: the value of the first matching key is replaced
// where it stands; a missing key is added at the end of its section, a missing section at the end
// of the text. Every other byte stays as it was. New lines end in CRLF. A value stops at its first
// line break, which would otherwise start a new line of the file.
std::string iniAssign(std::string_view text, TextEncoding encoding, std::string_view section,
                      std::string_view key, std::string_view value);

}  // namespace quorvane
