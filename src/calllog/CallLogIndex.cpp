#include "calllog/CallLogIndex.h"

#include <algorithm>
#include <numeric>

namespace tfm {
namespace {

constexpr int kFieldOfColumn[kCallColumnCount] = {0, 2, 1, 3, 4};
constexpr int kNumberFields[] = {1, 2};

// A line (without its line end) is a call record when no zero byte is in it and four blanks split it.
bool IsRecord(std::string_view line) {
  return line.find('\0') == std::string_view::npos && std::count(line.begin(), line.end(), ' ') >= 4;
}

// The first eight bytes of a text, in the text's order: a shorter text is padded with zeros.
uint64_t PrefixKey(std::string_view text) {
  uint64_t key = 0;
  for (size_t i = 0; i < 8; ++i) key = key << 8 | (i < text.size() ? static_cast<unsigned char>(text[i]) : 0u);
  return key;
}

// "YYYY-MM-DD HH:MM:SS" as its fourteen digits, one per four bits, in the moment's order; any other text
// sorts after every such moment, in the order of its first bytes.
uint64_t MomentKey(std::string_view text) {
  constexpr std::string_view kShape = "0000-00-00 00:00:00";
  uint64_t digits = 0;
  bool wellFormed = text.size() == kShape.size();
  for (size_t i = 0; wellFormed && i < kShape.size(); ++i) {
    const char c = text[i];
    if (kShape[i] != '0') {
      wellFormed = c == kShape[i];
    } else {
      wellFormed = c >= '0' && c <= '9';
      digits = digits << 4 | static_cast<uint64_t>(c - '0');
    }
  }
  return wellFormed ? digits : uint64_t{1} << 63 | PrefixKey(text) >> 1;
}

std::string JoinFields(const CallLogRow& row) {
  std::string line = row.callType;
  line.append(" ").append(row.calledNumber).append(" ").append(row.callingNumber);
  line.append(" ").append(row.date).append(" ").append(row.time);
  return line;
}

}  // namespace

CallLogIndex::CallLogIndex(std::string text) : m_text(std::move(text)) {
  for (size_t start = 0, lineFeed; (lineFeed = m_text.find('\n', start)) != std::string::npos; start = lineFeed + 1) {
    const std::string_view line = Line(start, lineFeed);
    if (!IsRecord(line)) continue;
    m_fileLines.push_back(static_cast<uint32_t>(start));
    // In place, so that every cell, copy and sort sees the number as the writer now writes it.
    for (const int field : kNumberFields) {
      const std::string_view number = CallLogField(line, field);
      const auto at = m_text.begin() + (number.data() - m_text.data());
      std::transform(at, at + static_cast<ptrdiff_t>(number.size()), at, PrintableNumberByte);
    }
  }
  m_order.resize(m_fileLines.size());
  std::iota(m_order.begin(), m_order.end(), 0u);
}

std::string_view CallLogIndex::Line(size_t start, size_t lineFeed) const {
  const std::string_view line = std::string_view(m_text).substr(start, lineFeed - start);
  return line.ends_with('\r') ? line.substr(0, line.size() - 1) : line;
}

std::string_view CallLogIndex::Line(uint32_t record) const {
  if (record >= m_fileLines.size()) return m_logged[record - m_fileLines.size()];
  const size_t start = m_fileLines[record];
  return Line(start, m_text.find('\n', start));
}

std::string_view CallLogIndex::Cell(size_t position, int column) const {
  if (position >= m_order.size() || column < 0 || column >= kCallColumnCount) return {};
  return CallLogField(Line(m_order[position]), kFieldOfColumn[column]);
}

bool CallLogIndex::SortsByMoment() const {
  const auto column = static_cast<CallColumn>(m_sortColumn);
  return column == CallColumn::kDate || column == CallColumn::kTime;
}

std::string_view CallLogIndex::SortText(uint32_t record) const {
  const std::string_view line = Line(record);
  return SortsByMoment() ? CallLogFieldsFrom(line, 3) : CallLogField(line, kFieldOfColumn[m_sortColumn]);
}

uint64_t CallLogIndex::SortKey(uint32_t record) const {
  return SortsByMoment() ? MomentKey(SortText(record)) : PrefixKey(SortText(record));
}

// A strict order on records: by the sort column's key, then its text, then file order. Date and time
// sort together as one moment.
bool CallLogIndex::Less(uint32_t a, uint32_t b) const {
  if (m_sortColumn >= 0) {
    const uint64_t keyA = SortKey(a);
    const uint64_t keyB = SortKey(b);
    if (keyA != keyB) return keyA < keyB;
  }
  return LessOnEqualKeys(a, b);
}

bool CallLogIndex::LessOnEqualKeys(uint32_t a, uint32_t b) const {
  if (m_sortColumn >= 0) {
    if (const int order = SortText(a).compare(SortText(b))) return order < 0;
  }
  return a < b;
}

// The keys are taken once, in file order, and sorted with the records: most comparisons end at the
// keys, without reaching into the text at random places.
void CallLogIndex::Sort(int column, bool ascending) {
  m_sortColumn = column >= 0 && column < kCallColumnCount ? column : -1;
  m_ascending = ascending;
  std::iota(m_order.begin(), m_order.end(), 0u);
  if (m_sortColumn >= 0) {
    struct Keyed {
      uint64_t key;
      uint32_t record;
    };
    std::vector<Keyed> keyed(m_order.size());
    for (uint32_t record = 0; record < keyed.size(); ++record) keyed[record] = {SortKey(record), record};
    const auto less = [this](const Keyed& a, const Keyed& b) {
      return a.key != b.key ? a.key < b.key : LessOnEqualKeys(a.record, b.record);
    };
    // A log is written in time order: sorting by the moment mostly finds it sorted already.
    if (!std::is_sorted(keyed.begin(), keyed.end(), less)) std::sort(keyed.begin(), keyed.end(), less);
    std::transform(keyed.begin(), keyed.end(), m_order.begin(), [](const Keyed& k) { return k.record; });
  }
  if (!ascending) std::reverse(m_order.begin(), m_order.end());
}

size_t CallLogIndex::Append(const CallLogRow& row) {
  const auto record = static_cast<uint32_t>(m_fileLines.size() + m_logged.size());
  m_logged.push_back(JoinFields(row));
  const auto at = std::partition_point(m_order.begin(), m_order.end(),
                                       [this, record](uint32_t shown) { return Precedes(shown, record); });
  const auto position = at - m_order.begin();
  m_order.insert(at, record);
  return static_cast<size_t>(position);
}

size_t CallLogIndex::CountAlreadyRead(const std::vector<CallLogRow>& heard) const {
  const size_t files = m_fileLines.size();
  for (size_t count = std::min(heard.size(), files); count > 0; --count) {
    bool same = true;
    for (size_t i = 0; same && i < count; ++i) {
      same = Line(static_cast<uint32_t>(files - count + i)) == JoinFields(heard[i]);
    }
    if (same) return count;
  }
  return 0;
}

ptrdiff_t CallLogIndex::NewestPosition() const {
  if (m_order.empty()) return -1;
  const auto newest = static_cast<uint32_t>(m_order.size() - 1);
  return std::find(m_order.begin(), m_order.end(), newest) - m_order.begin();
}

ptrdiff_t CallLogIndex::FindNewest(const CallLogRow& row) const {
  const std::string line = JoinFields(row);
  for (auto record = static_cast<uint32_t>(m_order.size()); record-- > 0;) {
    if (Line(record) == line) return std::find(m_order.begin(), m_order.end(), record) - m_order.begin();
  }
  return -1;
}

uint64_t CallLogTailOffset(uint64_t size, uint64_t maxLength) { return size > maxLength ? size - maxLength - 1 : 0; }

// Read from one byte before the cut: a cut inside a line would read its end as a line of its own, so the
// text starts after the first line feed from there.
void DropTornHead(std::string& text, uint64_t size, uint64_t maxLength) {
  if (size <= maxLength) return;
  const size_t lineFeed = text.find('\n');
  text.erase(0, lineFeed == std::string::npos ? text.size() : lineFeed + 1);
}

}  // namespace tfm
