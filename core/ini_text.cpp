#include "ini_text.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace quorvane {

namespace {

// Blanks as the private-profile functions trim them; 0x1A is the old DOS end-of-file mark.
bool isBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1A'; }

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Texts end at their first NUL, as the platform's NUL-terminated strings do.
std::string_view untilNul(std::string_view s) { return s.substr(0, s.find('\0')); }

size_t characterLength(std::string_view s, size_t i, TextEncoding encoding) {
  const auto c = static_cast<unsigned char>(s[i]);
  return encoding == TextEncoding::Gbk && c >= 0x81 && c <= 0xFE && i + 1 < s.size() ? 2 : 1;
}

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Case-insensitive for ASCII letters only; a trail byte that looks like a letter is compared as is.
bool namesMatch(std::string_view stored, std::string_view wanted, TextEncoding encoding) {
  stored = trimmed(untilNul(stored));
  wanted = trimmed(untilNul(wanted));
  if (stored.size() != wanted.size()) return false;
  for (size_t i = 0; i < stored.size();) {
    const size_t n = characterLength(stored, i, encoding);
    if (n == 2) {
      if (stored.substr(i, 2) != wanted.substr(i, 2)) return false;
    } else if (asciiLower(stored[i]) != asciiLower(wanted[i])) {
      return false;
    }
    i += n;
  }
  return true;
}

// One line of the text: its content without the line break, where it starts and where the line
// break that ends it starts and ends. CR, LF and CRLF all end a line.
struct Line {
  size_t begin;
  size_t contentEnd;
  size_t end;  // after the line break
};

// Walks a text line by line. The next CR and the next LF are found with memchr and remembered,
// so a walk through a file of any size and any line ends stays linear and fast.
class LineScanner {
 public:
  explicit LineScanner(std::string_view text)
      : text_(text), nextCr_(text.find('\r')), nextLf_(text.find('\n')) {}

  std::optional<Line> next() {
    if (position_ >= text_.size()) return std::nullopt;
    if (nextCr_ < position_) nextCr_ = text_.find('\r', position_);
    if (nextLf_ < position_) nextLf_ = text_.find('\n', position_);
    const size_t contentEnd = std::min({nextCr_, nextLf_, text_.size()});
    Line line{position_, contentEnd, contentEnd};
    if (line.end < text_.size() && text_[line.end] == '\r') ++line.end;
    if (line.end < text_.size() && text_[line.end] == '\n') ++line.end;
    position_ = line.end;
    return line;
  }

 private:
  std::string_view text_;
  size_t position_ = 0;
  size_t nextCr_;
  size_t nextLf_;
};

// What a line holds, as positions within the text.
struct ParsedLine {
  enum class Kind { Blank, Section, Entry } kind = Kind::Blank;
  std::string_view name;             // section or key name, untrimmed
  std::optional<size_t> equalsSign;  // position of "=" in an entry
  std::string_view value;            // after "=", untrimmed
};

ParsedLine parseLine(std::string_view text, const Line& line, TextEncoding encoding) {
  const std::string_view content = text.substr(line.begin, line.contentEnd - line.begin);
  const std::string_view body = trimmed(content);
  if (body.empty()) return {};
  if (body.front() == '[') {
    // The name runs to the last "]" of the line; a "]" that is a trail byte does not count.
    std::optional<size_t> close;
    for (size_t i = 1; i < body.size(); i += characterLength(body, i, encoding)) {
      if (body[i] == ']') close = i;
    }
    if (close) return {ParsedLine::Kind::Section, body.substr(1, *close - 1), std::nullopt, {}};
  }
  const size_t equals = body.find('=');  // "=" (0x3D) is never a trail byte
  if (equals == std::string_view::npos) return {ParsedLine::Kind::Entry, body, std::nullopt, {}};
  return {ParsedLine::Kind::Entry, body.substr(0, equals),
          static_cast<size_t>(body.data() + equals - text.data()), body.substr(equals + 1)};
}

// Where a key stands in a text: the first section of that name and the first key in it.
struct KeyPlace {
  std::optional<Line> sectionHeader;
  std::optional<Line> keyLine;
  ParsedLine key;
  std::optional<Line> lastLineOfSection;  // the last non-blank line of the section
};

// Before the section is found, only a line whose first non-blank byte is "[" can matter.
bool mayBeSectionHeader(std::string_view text, const Line& line) {
  const std::string_view body = trimmed(text.substr(line.begin, line.contentEnd - line.begin));
  return !body.empty() && body.front() == '[';
}

// Walks the entries of the first section named `section`, calling visit(line, parsed) for each
// in order until it returns false. Only the first section of that name counts: a later one of
// the same name is not read. Returns the section's header and its last non-blank line.
struct SectionWalk {
  std::optional<Line> header;
  std::optional<Line> lastLine;
};

template <typename Visit>
SectionWalk walkFirstSection(std::string_view text, TextEncoding encoding, std::string_view section,
                             Visit visit) {
  SectionWalk walk;
  LineScanner lines(text);
  while (const std::optional<Line> line = lines.next()) {
    if (!walk.header && !mayBeSectionHeader(text, *line)) continue;
    const ParsedLine parsed = parseLine(text, *line, encoding);
    if (parsed.kind == ParsedLine::Kind::Section) {
      if (walk.header) break;
      if (namesMatch(parsed.name, section, encoding)) walk.header = walk.lastLine = *line;
    } else if (parsed.kind == ParsedLine::Kind::Entry && walk.header) {
      walk.lastLine = *line;
      if (!visit(*line, parsed)) break;
    }
  }
  return walk;
}

KeyPlace findKey(std::string_view text, TextEncoding encoding, std::string_view section,
                 std::string_view key) {
  KeyPlace place;
  const SectionWalk walk =
      walkFirstSection(text, encoding, section, [&](const Line& line, const ParsedLine& parsed) {
        if (!namesMatch(parsed.name, key, encoding)) return true;
        place.keyLine = line;
        place.key = parsed;
        return false;
      });
  place.sectionHeader = walk.header;
  place.lastLineOfSection = walk.lastLine;
  return place;
}

// The value text of an entry, as the private-profile read returns it.
std::string valueOf(const ParsedLine& entry) {
  if (!entry.equalsSign) return {};
  std::string_view value = trimmed(untilNul(entry.value));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value.substr(0, kMaxIniValueLength));
}

bool endsWithLineBreak(std::string_view text) {
  return !text.empty() && (text.back() == '\n' || text.back() == '\r');
}

}  // namespace

std::vector<std::string> iniLookupAll(std::string_view text, TextEncoding encoding,
                                      std::string_view section,
                                      std::span<const std::string_view> keys) {
  std::vector<std::string> values(keys.size());
  if (trimmed(section).empty()) return values;
  std::vector<bool> found(keys.size());
  size_t missing = keys.size();
  walkFirstSection(text, encoding, section, [&](const Line&, const ParsedLine& parsed) {
    for (size_t i = 0; i < keys.size(); ++i) {
      // The first entry of a key wins; empty key names match nothing.
      if (found[i] || trimmed(keys[i]).empty() || !namesMatch(parsed.name, keys[i], encoding)) {
        continue;
      }
      found[i] = true;
      values[i] = valueOf(parsed);
      --missing;
    }
    return missing > 0;
  });
  return values;
}

std::string iniLookup(std::string_view text, TextEncoding encoding, std::string_view section,
                      std::string_view key) {
  return std::move(iniLookupAll(text, encoding, section, std::span(&key, 1)).front());
}

std::string iniAssign(std::string_view text, TextEncoding encoding, std::string_view section,
                      std::string_view key, std::string_view value) {
  value = value.substr(0, value.find_first_of(std::string_view("\r\n\0", 3)));
  const KeyPlace place = findKey(text, encoding, section, key);
  std::string result;
  result.reserve(text.size() + section.size() + key.size() + value.size() + 8);
  if (place.keyLine) {
    // Keep the line up to its "=" (or its name, when it has none) and its line break.
    const size_t keep =
        place.key.equalsSign
            ? *place.key.equalsSign + 1
            : static_cast<size_t>(place.key.name.data() + place.key.name.size() - text.data());
    result.append(text.substr(0, keep));
    if (!place.key.equalsSign) result += '=';
    result.append(value);
    result.append(text.substr(place.keyLine->contentEnd));
    return result;
  }
  if (place.lastLineOfSection) {
    const Line& last = *place.lastLineOfSection;
    result.append(text.substr(0, last.end));
    if (last.end == last.contentEnd) result += "\r\n";
  } else {
    result.append(text);
    if (!text.empty() && !endsWithLineBreak(text)) result += "\r\n";
    result.append("[").append(section).append("]\r\n");
  }
  result.append(key).append("=").append(value).append("\r\n");
  if (place.lastLineOfSection) result.append(text.substr(place.lastLineOfSection->end));
  return result;
}

}  // namespace quorvane
