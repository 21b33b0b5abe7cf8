#pragma once
// "Export..." of the call page: which calls (asked only when some, but not all, of the listed calls are
// selected), where to (the save dialog), and the CSV file itself, written in parts.
#include <windows.h>

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "calllog/CallLogIndex.h"

namespace tfm {

// Button ids of the question, so that a script can press them.
inline constexpr int kExportSelectedButton = 1001;
inline constexpr int kExportAllButton = 1002;

// The positions to export: all listed rows when none or all are selected, the selected ones or all as
// the user answers otherwise; none when the user cancels.
std::vector<size_t> ChooseExportRows(HWND owner, std::vector<size_t> selected, size_t listed,
                                     std::string_view thousandsSeparator);

// The path the user saves to (UTF-8); empty when cancelled.
std::string ChooseExportPath(HWND owner);

// The titles' line, then one line per position, separated by the user's list separator.
bool WriteCallsCsv(const std::string& path, const CallLogIndex& rows, const std::vector<size_t>& positions,
                   std::span<const std::string_view> titles);

}  // namespace tfm
