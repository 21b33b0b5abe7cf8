#pragma once
// The user's list separator (LOCALE_SLIST, set under Region, "Additional settings"), the character a
// spreadsheet splits the lines of a CSV file at.
#include <string>

namespace tfm {

// Its text in UTF-8; empty when the locale gives none.
std::string UserListSeparator();

}  // namespace tfm
