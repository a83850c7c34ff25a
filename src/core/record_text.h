#pragma once
// What the manager reads out of a record line.
#include <string>
#include <string_view>

namespace krx {

// The text before the first space, with every leading '<' removed; empty
// when the record has no space.
std::string DateKey(const std::string& record);

// Visit, block and media records carry their address from two characters
// after the first '>' up to the first " - " that follows. Empty when the
// record has no '>'; runs to the end when no " - " follows.
std::string RecordAddress(const std::string& record);

// The same two rules as views into the record, for loops over a whole log
// that have no use for copies.
std::string_view DateKeyView(std::string_view record);
std::string_view RecordAddressView(std::string_view record);

// A date key "mm/dd/yyyy" as the number yyyymmdd, so that days order by
// their date (12/31/2003 before 01/02/2004); -1 for a key that is no such
// date.
long DateKeyOrder(std::string_view key);

}  // namespace krx
