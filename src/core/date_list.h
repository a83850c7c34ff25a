#pragma once
// The date list of a log view: the distinct date keys of its collection, in
// the order they first appear.
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

}  // namespace krx
