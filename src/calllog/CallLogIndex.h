#pragma once
// The call log as the call monitor page lists it: the file's bytes, read once, and one offset per call
// record, so that a log of a million lines costs little more than its size. Cells are split from a
// record's line when they are asked for.
// The bytes are taken as they are: a line ends at a line feed (a carriage return before it is not part
// of the line), and no byte ends the reading early. A line is a call record when it holds at least
// four blanks and no zero byte; any other line is skipped on its own. A torn last line (no line feed
// yet) is not listed. Logs written before numbers were made printable may hold control bytes in a
// number: the number cells show each such byte as PrintableNumberByte does.
// Calls logged after the file was read are appended as rows of their own. The records are ordered by
// file order or by a column in either direction; a search text keeps the rows whose numbers or name
// hold it, in that order. Positions are those of the rows shown.
// Names come from the phone book, asked once per distinct caller when the book is given or has changed
// since (its generation): each record holds the id of its name, so that a search tests the few names
// once and each record by a number, and a sort by name compares ranks.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "calllog/CallLogFormat.h"
#include "phonebook/PhoneBookPort.h"

namespace tfm {

// The shown columns, left to right; the caller's number comes before the number called, the caller's
// name after the log's fields.
enum class CallColumn : int { kType = 0, kCalling, kCalled, kDate, kTime, kName };
inline constexpr int kCallColumnCount = 6;

class CallLogIndex {
 public:
  CallLogIndex() = default;
  // Takes the file's bytes from its start (or from any line start).
  explicit CallLogIndex(std::string text);

  // The rows shown (those the search text keeps), and every record.
  size_t RowCount() const { return m_filtered ? m_shown.size() : m_order.size(); }
  size_t TotalCount() const { return m_order.size(); }
  // One cell of the row shown at position; empty beyond the rows or columns.
  std::string_view Cell(size_t position, int column) const;

  // The book the callers' names come from (null: none). The names are taken from it when a search or a
  // sort by name needs them, or RefreshNames asks: that costs the book one question per caller, so a
  // list that only shows names asks for the rows in view instead (NamesCurrent false).
  void UseNames(const IPhoneBook* book);
  // Whether the names held are the book's present ones. The Name cells hold the names last taken, none
  // before the first time.
  bool NamesCurrent() const;
  // Takes the names afresh unless they are current; true when it did (the rows shown and their order
  // may have changed with them).
  bool RefreshNames();

  // Shows only the records whose calling or called number or name holds text, letters in any case; an
  // empty text shows every record. A text that adds to the last one searches only the rows it kept.
  void Filter(std::string_view text);
  const std::string& FilterText() const { return m_filterText; }

  // Appends a call logged since; it goes where the current order puts it. Returns its position, or -1
  // when the search text hides it.
  ptrdiff_t Append(const CallLogRow& row);
  // How many of the rows heard while the file was being read are in it already: the longest head of
  // heard whose rows are the file's last records.
  size_t CountAlreadyRead(const std::vector<CallLogRow>& heard) const;
  // The position of the newest record (the last appended, else the file's last); -1 when empty.
  ptrdiff_t NewestPosition() const;
  // The position of the newest record that is this call (its type, numbers, date and time); -1 if none.
  ptrdiff_t FindNewest(const CallLogRow& row) const;

  // Sorts by a column, ascending or descending; a column outside 0..5 restores file order. Date and
  // time sort as one moment; numbers by their digits' count, then value (withheld first), then text;
  // names without regard to case, none first. Equal keys keep file order (reversed when descending).
  void Sort(int column, bool ascending);
  int SortColumn() const { return m_sortColumn; }
  bool SortAscending() const { return m_ascending; }

 private:
  std::string_view Line(uint32_t record) const;
  std::string_view Line(size_t start, size_t lineFeed) const;
  // The called and calling numbers of a record, with the blank between them.
  std::string_view Numbers(uint32_t record) const;
  uint32_t RecordAt(size_t position) const { return m_filtered ? m_shown[position] : m_order[position]; }
  ptrdiff_t PositionOf(uint32_t record) const;
  uint32_t NameId(uint32_t record) const { return m_nameOf.empty() ? 0 : m_nameOf[record]; }
  std::string_view NameOf(uint32_t record) const {
    return m_names.empty() ? std::string_view() : m_names[NameId(record)];
  }
  void TakeNames();
  uint32_t NameIdFor(std::string_view number);
  void RankNames();
  bool NameHolds(uint32_t id) const;
  bool Matches(uint32_t record) const;
  // Tests every record against the search text, or only those it kept when the text only grew.
  void Refilter(bool narrowing);
  // The records kept, in the order of all records.
  void ShowMatches();
  enum class SortKind { kText, kNumber, kMoment, kName };
  SortKind Kind() const;
  std::string_view SortText(uint32_t record) const;
  uint64_t SortKey(uint32_t record) const;
  bool Less(uint32_t a, uint32_t b) const;
  bool LessOnEqualKeys(uint32_t a, uint32_t b) const;
  bool Precedes(uint32_t a, uint32_t b) const { return m_ascending ? Less(a, b) : Less(b, a); }

  std::string m_text;                  // the file's bytes as read, the numbers of records made printable
  std::vector<uint32_t> m_fileLines;   // where each record's line starts in m_text
  std::vector<std::string> m_logged;   // lines of the calls logged since, each ending in its line feed
  std::vector<uint32_t> m_order;       // record numbers in sort order: the file's, then the logged ones
  int m_sortColumn = -1;
  bool m_ascending = true;

  const IPhoneBook* m_book = nullptr;
  bool m_namesTaken = false;
  uint64_t m_namesGeneration = 0;
  std::vector<uint32_t> m_nameOf;      // per record: its caller's name id, 0 for none
  std::vector<std::string> m_names;    // by id; id 0 is the empty name
  std::vector<std::string> m_foldedNames;
  std::unordered_map<std::string, uint32_t> m_nameIds;
  std::vector<uint32_t> m_nameRank;    // by id: its place among the names sorted without case

  bool m_filtered = false;
  std::string m_filterText;            // as typed
  std::string m_foldedFilter;          // case folded
  bool m_numbersMayHold = false;       // printable ASCII without blanks, as numbers are
  bool m_filterHasLetters = false;
  std::vector<char> m_nameHits;        // by name id: whether the name holds the search text
  std::vector<char> m_matches;         // per record: whether the search text keeps it
  std::vector<uint32_t> m_shown;       // the records kept, in sort order
};

// Where to read a log of size bytes from so that the newest calls are listed when it is too long to be
// held: one byte before its last maxLength bytes. The text read from there to the end starts at a line
// start once DropTornHead has cut the part before its first line feed.
uint64_t CallLogTailOffset(uint64_t size, uint64_t maxLength);
void DropTornHead(std::string& text, uint64_t size, uint64_t maxLength);

}  // namespace tfm
