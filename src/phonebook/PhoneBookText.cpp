#include "phonebook/PhoneBookText.h"

#include <optional>

namespace tfm {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// One field of a line from pos: up to the first of the separators outside quotes, or the line's end.
// A quoted field keeps its blanks and takes "" as one quote. found is the separator that ended the
// field (0 at the line's end); false for a quote that is never closed.
bool ReadField(std::string_view line, size_t& pos, std::string_view separators, std::string& field, char& found) {
  field.clear();
  found = 0;
  bool quoted = false;
  bool wasQuoted = false;
  std::string pending;  // blanks after unquoted text, kept only if more text follows
  for (; pos < line.size(); ++pos) {
    const char c = line[pos];
    if (quoted) {
      if (c != '"') {
        field += c;
      } else if (pos + 1 < line.size() && line[pos + 1] == '"') {
        field += '"';
        ++pos;
      } else {
        quoted = false;
      }
    } else if (separators.find(c) != std::string_view::npos) {
      found = c;
      ++pos;
      return true;
    } else if (c == '"' && !wasQuoted && field.empty()) {
      field.clear();
      quoted = wasQuoted = true;
    } else if (c == ' ' || c == '\t') {
      if (!field.empty() && !wasQuoted) pending += c;
    } else {
      field += pending;
      pending.clear();
      field += c;
    }
  }
  return !quoted;
}

// The entry a line holds, or nullopt with the reason for a broken line. Remarks and blank lines are
// neither: nullopt with an empty reason.
std::optional<PhoneBookEntry> ParseLine(std::string_view line, const char*& reason) {
  reason = "";
  const std::string_view trimmed = Trim(line);
  if (trimmed.empty() || trimmed.front() == '#') return std::nullopt;
  PhoneBookEntry entry;
  size_t pos = 0;
  char separator = 0;
  char end = 0;
  if (!ReadField(line, pos, ";,", entry.number, separator) ||
      !ReadField(line, pos, std::string_view(&separator, 1), entry.name, end)) {
    reason = "a quote is not closed";
  } else if (separator == 0) {
    reason = "no ';' or ',' after the number";
  } else if (entry.number.size() > kPhoneNumberMaxLength) {
    reason = "the number is too long";
  } else if (NumberKey(entry.number, {}).empty()) {
    reason = "no phone number before the separator";
  } else if ((entry.name = CleanPhoneName(entry.name)).empty()) {
    reason = "no name after the number";
  } else if (entry.name.size() > kPhoneNameMaxLength) {
    reason = "the name is too long";
  } else {
    return entry;
  }
  return std::nullopt;
}

// Calls visit(line without its end, line with its end) for each line of text.
template <typename Visit>
void ForEachLine(std::string_view text, Visit visit) {
  while (!text.empty()) {
    const size_t newline = text.find('\n');
    const size_t length = newline == std::string_view::npos ? text.size() : newline + 1;
    std::string_view content = text.substr(0, newline == std::string_view::npos ? text.size() : newline);
    if (!content.empty() && content.back() == '\r') content.remove_suffix(1);
    if (!visit(content, text.substr(0, length))) return;
    text.remove_prefix(length);
  }
}

}  // namespace

std::string CleanPhoneName(std::string_view name) {
  std::string clean(name);
  for (char& c : clean) {
    if (static_cast<unsigned char>(c) < ' ' || c == '\x7F') c = ' ';
  }
  return std::string(Trim(clean));
}

PhoneBookContent ParsePhoneBook(std::string_view text) {
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  PhoneBookContent content;
  size_t lineNumber = 0;
  const auto skip = [&](const char* reason) {
    if (content.problems.count++ > 0) return;
    content.problems.firstLine = lineNumber;
    content.problems.firstReason = reason;
  };
  ForEachLine(text.substr(0, kPhoneBookMaxLength), [&](std::string_view line, std::string_view) {
    ++lineNumber;
    const char* reason = "";
    std::optional<PhoneBookEntry> entry = ParseLine(line, reason);
    if (entry && content.entries.size() == kPhoneBookMaxEntries) {
      skip("the book holds no more entries: the lines from here on are not read");
      return false;
    }
    if (entry) content.entries.push_back(std::move(*entry));
    if (*reason) skip(reason);
    return true;
  });
  return content;
}

std::string PhoneBookLine(std::string_view number, std::string_view name, char separator) {
  std::string line(number);
  line += separator;
  const bool quote = name.find_first_of(",;\"") != std::string_view::npos || Trim(name).size() != name.size();
  if (!quote) return line += name;
  line += '"';
  for (const char c : name) {
    if (c == '"') line += '"';
    line += c;
  }
  return line += '"';
}

std::string PhoneBookWithName(std::string_view text, std::string_view number, std::string_view name, char separator,
                              const DialingLocation& location) {
  const std::string key = NumberKey(number, location);
  const std::string cleanName = CleanPhoneName(name);
  const std::string entryLine = PhoneBookLine(number, cleanName, separator);
  std::string result;
  if (text.starts_with(kByteOrderMark)) {
    result = kByteOrderMark;
    text.remove_prefix(kByteOrderMark.size());
  }
  bool placed = cleanName.empty();
  ForEachLine(text, [&](std::string_view line, std::string_view whole) {
    const char* reason = "";
    const std::optional<PhoneBookEntry> entry = ParseLine(line, reason);
    if (!entry || NumberKey(entry->number, location) != key) {
      result += whole;
    } else if (!placed) {
      placed = true;
      result += entryLine;
      result += whole.substr(line.size());
    }
    return true;
  });
  if (placed) return result;
  if (!result.empty() && result != kByteOrderMark && result.back() != '\n') result += "\r\n";
  if (result.empty()) result = kByteOrderMark;
  return result += entryLine + "\r\n";
}

}  // namespace tfm
