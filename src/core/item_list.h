#pragma once
// What the manager window's item list shows for a view: which lines of its
// collection, whether lines the list already holds are skipped, and the
// status text that counts them. Lines are the records exactly as stored.
#include <cstddef>
#include <optional>
#include <string>

#include "core/record_file.h"

namespace krx {

// The collection a view lists: the four logs, the white and the forbidden
// list. False for the browser-cache view and any other id.
bool CollectionOfView(int view, RecordCollection& collection);

// A line belongs to the day `date` when it holds "<" followed by the date
// anywhere (case-sensitive): a key also matches lines of other days that
// quote it later, and the empty key matches every line holding "<".
bool IsLineOfDay(const std::string& line, const std::string& date);

// The lines FillItemList offers the item list, in collection order: the
// day's lines in a log view, every line in the white and forbidden lists,
// none in the browser-cache view.
StringArray ItemListLines(int view, const StringArray& collection, const std::string& date);

// Whether a line the item list already holds is skipped: always in the
// white and forbidden lists (duplicates show once), in a log view only when
// the list was not empty before the fill (a refresh tops it up).
bool SkipsHeldLines(int view, bool listWasEmpty);

// The status line's text once count lines are listed; no text for the
// browser-cache view, whose status line is left alone.
std::optional<std::string> ItemListStatusText(int view, const std::string& date, size_t count);
// The same over the days chosen in the date list, in list order: one day
// reads as above, several as "... from 12/01/2026 to 12/07/2026 is: N".
std::optional<std::string> ItemListStatusTextOfDays(int view, const StringArray& days, size_t count);

// The cache filter's operator and value follow the chosen field: usable
// for any field but item 0 ("ALL"); a time field (index above 4) puts the
// form its value must take into the value box.
struct CacheFieldControls {
  bool enabled;
  const char* valueText;  // nullptr: the value box keeps its text
};
CacheFieldControls CacheFieldChosen(int field);

// Removes the first element equal to text (case-sensitive); true when one
// was removed.
bool RemoveFirst(StringArray& array, const std::string& text);

}  // namespace krx
