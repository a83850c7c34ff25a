#pragma once
// What the manager reads out of a record line.
#include <string>
#include <string_view>

namespace krx {

// True for a line that can be a log's record: text that begins with '<'
// and holds no control character but tab. Anything else in a day file or
// a log (random bytes, a line cut apart, records spliced by a damaged
// length) is no record the add-on wrote.
bool IsRecordText(std::string_view line);

// The text before the first space, with every leading '<' removed, when it
// is a real date ("mm/dd/yyyy" as the add-on writes it, or "yyyy-mm-dd":
// a month from 1 to 12, a day the month has, four digits of year). Empty
// otherwise: a record without a readable date goes under the empty key,
// never under a day of its own.
std::string DateKey(const std::string& record);

// Visit, block and media records carry their address from two characters
// after the first '>' up to the first " - " that follows. Empty when the
// record has no '>'; runs to the end when no " - " follows.
std::string RecordAddress(const std::string& record);

// The same two rules as views into the record, for loops over a whole log
// that have no use for copies.
std::string_view DateKeyView(std::string_view record);
std::string_view RecordAddressView(std::string_view record);

// The date text of the stamp as it stands, real date or not (the export's
// Date cell): what DateKeyView checks.
std::string_view StampDateView(std::string_view record);

// True for a key DateKeyView lets through.
bool IsRealDateKey(std::string_view key);

// A date key "mm/dd/yyyy" as the number yyyymmdd, so that days order by
// their date (12/31/2003 before 01/02/2004); -1 for a key that is no such
// date.
long DateKeyOrder(std::string_view key);

}  // namespace krx
