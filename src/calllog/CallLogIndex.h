#pragma once
// The call log as the call monitor page lists it: the file's bytes, read once, and one offset per call
// record, so that a log of a million lines costs little more than its size. Cells are split from a
// record's line when they are asked for.
// The bytes are taken as they are: a line ends at a line feed (a carriage return before it is not part
// of the line), and no byte ends the reading early. A line is a call record when it holds at least
// four blanks and no zero byte; any other line is skipped on its own. A torn last line (no line feed
// yet) is not listed. Logs written before numbers were made printable may hold control bytes in a
// number: the number cells show each such byte as PrintableNumberByte does.
// Calls logged after the file was read are appended as rows of their own. The shown order is a
// permutation of the records: file order, or sorted by a column in either direction.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "calllog/CallLogFormat.h"

namespace tfm {

// The shown columns, left to right; the caller's number comes before the number called.
enum class CallColumn : int { kType = 0, kCalling, kCalled, kDate, kTime };
inline constexpr int kCallColumnCount = 5;

class CallLogIndex {
 public:
  CallLogIndex() = default;
  // Takes the file's bytes from its start (or from any line start).
  explicit CallLogIndex(std::string text);

  // Records in shown order.
  size_t RowCount() const { return m_order.size(); }
  // One cell of the row shown at position; empty beyond the rows or columns.
  std::string_view Cell(size_t position, int column) const;

  // Appends a call logged since; it is shown where the current order puts it. Returns its position.
  size_t Append(const CallLogRow& row);
  // How many of the rows heard while the file was being read are in it already: the longest head of
  // heard whose rows are the file's last records.
  size_t CountAlreadyRead(const std::vector<CallLogRow>& heard) const;
  // The position of the newest record (the last appended, else the file's last); -1 when empty.
  ptrdiff_t NewestPosition() const;
  // The position of the newest record that is this call (its type, numbers, date and time); -1 if none.
  ptrdiff_t FindNewest(const CallLogRow& row) const;

  // Sorts by a column, ascending or descending; a column outside 0..4 restores file order. Date and
  // time sort as one moment; equal keys keep file order (reversed when descending).
  void Sort(int column, bool ascending);
  int SortColumn() const { return m_sortColumn; }
  bool SortAscending() const { return m_ascending; }

 private:
  std::string_view Line(uint32_t record) const;
  std::string_view Line(size_t start, size_t lineFeed) const;
  bool SortsByMoment() const;
  std::string_view SortText(uint32_t record) const;
  uint64_t SortKey(uint32_t record) const;
  bool Less(uint32_t a, uint32_t b) const;
  bool LessOnEqualKeys(uint32_t a, uint32_t b) const;
  bool Precedes(uint32_t a, uint32_t b) const { return m_ascending ? Less(a, b) : Less(b, a); }

  std::string m_text;                  // the file's bytes as read, the numbers of records made printable
  std::vector<uint32_t> m_fileLines;   // where each record's line starts in m_text
  std::vector<std::string> m_logged;   // lines of the calls logged since, each ending in its line feed
  std::vector<uint32_t> m_order;       // record numbers in shown order: the file's, then the logged ones
  int m_sortColumn = -1;
  bool m_ascending = true;
};

// Where to read a log of size bytes from so that the newest calls are listed when it is too long to be
// held: one byte before its last maxLength bytes. The text read from there to the end starts at a line
// start once DropTornHead has cut the part before its first line feed.
uint64_t CallLogTailOffset(uint64_t size, uint64_t maxLength);
void DropTornHead(std::string& text, uint64_t size, uint64_t maxLength);

}  // namespace tfm
