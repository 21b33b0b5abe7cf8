#pragma once
// The user's list separator (LOCALE_SLIST, set under Region, "Additional settings"), the character a
// spreadsheet splits the lines of a CSV file at, and the user's thousands separator (LOCALE_STHOUSAND),
// which groups the digits of the call count.
#include <string>

namespace tfm {

// Its text in UTF-8; empty when the locale gives none.
std::string UserListSeparator();
std::string UserThousandsSeparator();

}  // namespace tfm
