#pragma once
// The date list of a log view: the distinct date keys of its collection,
// gathered in the order they first appear and listed by their date.
#include <cstddef>
#include <optional>
#include <string>

#include "core/progress_sink.h"
#include "core/record_file.h"

namespace krx {

struct LogView {
  int viewId;
  RecordCollection collection;
  const char* waitText;  // shown while its date list is built
};

// The four log views (visit, media, block, flash); nullptr for any other view.
const LogView* FindLogView(int viewId);

// Adds to dateList every date key of records that it does not hold yet,
// record by record, and steps progress with each record's index (from 0).
// The keys already in the list are indexed first, so each record costs O(1).
// Returns how many keys were added; they are at the end of dateList.
size_t AddDateKeys(const StringArray& records, StringArray& dateList, ProgressSink& progress);

// Fills the date list of the log view viewId from its collection under the
// progress window (opened even for an empty collection). The list is not
// emptied first: a refresh only adds new days. False for views without
// dates; nothing is shown then.
bool BuildDateList(int viewId, const RecordCollections& collections, StringArray& dateList, ProgressSink& progress);

// The day a log view chooses by itself when it is entered, and when a merge
// brings the first days into its empty date list, as an index into days (the
// date list's lines): the day last chosen in that view during this run while
// the list still holds it, or else the newest day by its date (keys are
// "mm/dd/yyyy"; a key that reads as no date counts as older than every date,
// and among equals the later line wins). -1 for an empty list.
int DayToChoose(const StringArray& days, const std::optional<std::string>& lastChosen);

// The date list's order: days by their date, oldest first, across months and
// years ("12/31/2025" before "01/02/2026"); keys that read as no date (the
// empty key of lines without one among them) come before every date, by
// their bytes, so the empty key is the very first.
bool DateListLess(const std::string& a, const std::string& b);

// Where key goes in days, a list already in date-list order: after every key
// that is not later than it, so a key added again lands behind its twin.
size_t DateListInsertIndex(const StringArray& days, const std::string& key);

}  // namespace krx
