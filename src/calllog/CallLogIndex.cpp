#include "calllog/CallLogIndex.h"

#include <algorithm>
#include <numeric>

#include "calllog/TextSearch.h"

namespace tfm {
namespace {

constexpr int kFieldOfColumn[kCallColumnCount] = {0, 2, 1, 3, 4, -1};
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

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A number's digits ("+49 30" has 4), whatever stands between them: a phone number is a string of
// digits, so its leading zeros count and a longer one comes after a shorter one.
constexpr size_t kKeyDigits = 14;
uint64_t DigitOrderKey(std::string_view number) {
  uint64_t count = 0;
  uint64_t digits = 0;
  for (const char c : number) {
    if (!IsDigit(c)) continue;
    if (count < kKeyDigits) digits = digits << 4 | static_cast<uint64_t>(c - '0');
    ++count;
  }
  digits <<= 4 * (kKeyDigits - std::min<uint64_t>(count, kKeyDigits));
  return std::min<uint64_t>(count, 31) << (4 * kKeyDigits) | digits;
}

// Digit count first, then the digits: what DigitOrderKey orders by, at any length.
int CompareDigits(std::string_view a, std::string_view b) {
  std::string digitsA, digitsB;
  std::copy_if(a.begin(), a.end(), std::back_inserter(digitsA), IsDigit);
  std::copy_if(b.begin(), b.end(), std::back_inserter(digitsB), IsDigit);
  if (digitsA.size() != digitsB.size()) return digitsA.size() < digitsB.size() ? -1 : 1;
  return digitsA.compare(digitsB);
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

// A record has four blanks before its line ends: the three looked for here are inside it, so the line's
// end need not be found first.
std::string_view CallLogIndex::Numbers(uint32_t record) const {
  const char* line = record >= m_fileLines.size() ? m_logged[record - m_fileLines.size()].data()
                                                  : m_text.data() + m_fileLines[record];
  // The fields are short: a plain walk finds their ends sooner than a library call per blank.
  const char* start = line;
  while (*start != ' ') ++start;
  const char* end = ++start;
  while (*end != ' ') ++end;
  ++end;
  while (*end != ' ') ++end;
  return {start, static_cast<size_t>(end - start)};
}

std::string_view CallLogIndex::Cell(size_t position, int column) const {
  if (position >= RowCount() || column < 0 || column >= kCallColumnCount) return {};
  const uint32_t record = RecordAt(position);
  if (column == static_cast<int>(CallColumn::kName)) return NameOf(record);
  return CallLogField(Line(record), kFieldOfColumn[column]);
}

ptrdiff_t CallLogIndex::PositionOf(uint32_t record) const {
  const std::vector<uint32_t>& rows = m_filtered ? m_shown : m_order;
  const auto at = std::find(rows.begin(), rows.end(), record);
  return at == rows.end() ? -1 : at - rows.begin();
}

void CallLogIndex::UseNames(const IPhoneBook* book) {
  m_book = book;
  m_namesTaken = false;
  m_names = {};
  m_nameOf = {};
  m_nameRank = {};
}

bool CallLogIndex::NamesCurrent() const {
  return !m_book || (m_namesTaken && m_book->Generation() == m_namesGeneration);
}

bool CallLogIndex::RefreshNames() {
  if (m_namesTaken && NamesCurrent()) return false;
  TakeNames();
  if (Kind() == SortKind::kName) Sort(m_sortColumn, m_ascending);
  if (m_filtered) Refilter(false);
  return true;
}

void CallLogIndex::TakeNames() {
  m_namesTaken = true;
  m_namesGeneration = m_book ? m_book->Generation() : 0;
  m_names.assign(1, std::string());
  m_foldedNames.assign(1, std::string());
  m_nameIds.clear();
  m_nameOf.clear();
  m_nameHits.clear();
  if (m_book) {
    // A caller calls again and again: the answers for recent numbers are kept in a table of fixed size
    // by the number's hash, which asks the book once for most repeated numbers without allocating
    // anything per number (a map of a million distinct numbers costs more than the book's answers).
    struct Answer {
      std::string_view number;
      uint32_t nameId = 0;
    };
    constexpr size_t kRecentNumbers = 1 << 16;
    std::vector<Answer> recent(kRecentNumbers);
    m_nameOf.resize(m_order.size());
    for (uint32_t record = 0; record < m_nameOf.size(); ++record) {
      const std::string_view numbers = Numbers(record);
      const std::string_view calling = numbers.substr(numbers.find(' ') + 1);
      if (calling.empty()) continue;  // withheld: no name
      Answer& answer = recent[std::hash<std::string_view>{}(calling) % kRecentNumbers];
      if (answer.number != calling || answer.number.empty()) answer = {calling, NameIdFor(calling)};
      m_nameOf[record] = answer.nameId;
    }
  }
  RankNames();
}

uint32_t CallLogIndex::NameIdFor(std::string_view number) {
  if (number.empty() || !m_book) return 0;  // withheld
  std::string name = m_book->NameFor(number);
  if (name.empty()) return 0;
  const auto [known, fresh] = m_nameIds.try_emplace(name, static_cast<uint32_t>(m_names.size()));
  if (!fresh) return known->second;
  m_foldedNames.push_back(FoldCase(name));
  m_names.push_back(std::move(name));
  // A search under way learns of the name (a call heard since); one about to be run tests every name.
  if (m_filtered && m_nameHits.size() + 1 == m_names.size())
    m_nameHits.push_back(m_foldedNames.back().find(m_foldedFilter) != std::string::npos);
  return known->second;
}

void CallLogIndex::RankNames() {
  std::vector<uint32_t> ids(m_names.size());
  std::iota(ids.begin(), ids.end(), 0u);
  std::sort(ids.begin(), ids.end(), [this](uint32_t a, uint32_t b) {
    return m_foldedNames[a] != m_foldedNames[b] ? m_foldedNames[a] < m_foldedNames[b] : m_names[a] < m_names[b];
  });
  m_nameRank.resize(ids.size());
  for (uint32_t rank = 0; rank < ids.size(); ++rank) m_nameRank[ids[rank]] = rank;
}

bool CallLogIndex::NameHolds(uint32_t id) const { return id < m_nameHits.size() && m_nameHits[id]; }

// Numbers are printable ASCII without blanks: a text with a blank or another byte is looked for in the
// names alone.
bool CallLogIndex::Matches(uint32_t record) const {
  if (NameHolds(NameId(record))) return true;
  if (!m_numbersMayHold) return false;
  const std::string_view numbers = Numbers(record);
  return m_filterHasLetters ? ContainsAsciiFolded(numbers, m_foldedFilter)
                            : numbers.find(m_foldedFilter) != std::string_view::npos;
}

void CallLogIndex::Filter(std::string_view text) {
  std::string folded = FoldCase(text);
  const bool narrowing = m_filtered && folded.find(m_foldedFilter) != std::string::npos;
  m_filterText = text;
  m_foldedFilter = std::move(folded);
  const std::string_view searched = m_foldedFilter;
  m_numbersMayHold = std::all_of(searched.begin(), searched.end(), [](char c) { return c > ' ' && c < '\x7F'; });
  m_filterHasLetters = std::any_of(searched.begin(), searched.end(), [](char c) { return c >= 'a' && c <= 'z'; });
  m_filtered = !text.empty();
  if (m_filtered) {
    const bool namesChanged = !NamesCurrent() || !m_namesTaken;
    if (namesChanged) TakeNames();
    Refilter(narrowing && !namesChanged);
    return;
  }
  m_matches = {};
  m_shown = {};
  m_nameHits = {};
}

void CallLogIndex::Refilter(bool narrowing) {
  m_nameHits.assign(m_names.size(), 0);
  for (size_t id = 1; id < m_names.size(); ++id)
    m_nameHits[id] = m_foldedNames[id].find(m_foldedFilter) != std::string::npos;
  m_matches.resize(m_order.size(), 0);
  for (uint32_t record = 0; record < m_matches.size(); ++record) {
    if (!narrowing || m_matches[record]) m_matches[record] = Matches(record);
  }
  ShowMatches();
}

void CallLogIndex::ShowMatches() {
  m_shown.clear();
  for (const uint32_t record : m_order) {
    if (m_matches[record]) m_shown.push_back(record);
  }
}

CallLogIndex::SortKind CallLogIndex::Kind() const {
  switch (static_cast<CallColumn>(m_sortColumn)) {
    case CallColumn::kDate:
    case CallColumn::kTime: return SortKind::kMoment;
    case CallColumn::kCalling:
    case CallColumn::kCalled: return SortKind::kNumber;
    case CallColumn::kName: return SortKind::kName;
    default: return SortKind::kText;
  }
}

std::string_view CallLogIndex::SortText(uint32_t record) const {
  switch (Kind()) {
    case SortKind::kMoment: return CallLogFieldsFrom(Line(record), 3);
    case SortKind::kName: return NameOf(record);
    default: return CallLogField(Line(record), kFieldOfColumn[m_sortColumn]);
  }
}

uint64_t CallLogIndex::SortKey(uint32_t record) const {
  switch (Kind()) {
    case SortKind::kMoment: return MomentKey(SortText(record));
    case SortKind::kNumber: return DigitOrderKey(SortText(record));
    case SortKind::kName: return m_nameRank.empty() ? 0 : m_nameRank[NameId(record)];
    default: return PrefixKey(SortText(record));
  }
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
    const std::string_view textA = SortText(a);
    const std::string_view textB = SortText(b);
    if (Kind() == SortKind::kNumber) {
      if (const int order = CompareDigits(textA, textB)) return order < 0;
    }
    if (const int order = textA.compare(textB)) return order < 0;
  }
  return a < b;
}

// The keys are taken once, in file order, and sorted with the records: most comparisons end at the
// keys, without reaching into the text at random places.
void CallLogIndex::Sort(int column, bool ascending) {
  m_sortColumn = column >= 0 && column < kCallColumnCount ? column : -1;
  m_ascending = ascending;
  if (Kind() == SortKind::kName && !(m_namesTaken && NamesCurrent())) TakeNames();
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
  if (m_filtered) ShowMatches();
}

ptrdiff_t CallLogIndex::Append(const CallLogRow& row) {
  const auto record = static_cast<uint32_t>(m_fileLines.size() + m_logged.size());
  m_logged.push_back(JoinFields(row));
  if (m_namesTaken && m_book) {
    const size_t names = m_names.size();
    m_nameOf.push_back(NameIdFor(row.callingNumber));
    if (m_names.size() != names) RankNames();
  }
  const auto precedes = [this, record](uint32_t shown) { return Precedes(shown, record); };
  const auto at = std::partition_point(m_order.begin(), m_order.end(), precedes);
  const ptrdiff_t position = at - m_order.begin();
  m_order.insert(at, record);
  if (!m_filtered) return position;
  m_matches.push_back(Matches(record));
  if (!m_matches.back()) return -1;
  const auto shownAt = std::partition_point(m_shown.begin(), m_shown.end(), precedes);
  return m_shown.insert(shownAt, record) - m_shown.begin();
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

// The newest record is the one with the highest number: the file's are numbered in its order, the
// logged ones after them.
ptrdiff_t CallLogIndex::NewestPosition() const {
  const std::vector<uint32_t>& rows = m_filtered ? m_shown : m_order;
  if (rows.empty()) return -1;
  return std::max_element(rows.begin(), rows.end()) - rows.begin();
}

ptrdiff_t CallLogIndex::FindNewest(const CallLogRow& row) const {
  const std::string line = JoinFields(row);
  for (auto record = static_cast<uint32_t>(m_order.size()); record-- > 0;) {
    if (Line(record) == line) return PositionOf(record);
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
