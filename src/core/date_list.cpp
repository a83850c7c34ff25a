#include "core/date_list.h"

#include <algorithm>
#include <unordered_set>

#include "core/record_text.h"

namespace krx {

namespace {
const LogView kLogViews[] = {
    {179, kVisitRecords, "Reading VisitLog, please wait..."},
    {185, kMediaRecords, "Reading MediaLog, please wait..."},
    {180, kBlockRecords, "Reading BlockLog, please wait..."},
    {181, kFlashRecords, "Reading FlashLog, please wait..."},
};
}  // namespace

const LogView* FindLogView(int viewId) {
  for (const LogView& view : kLogViews) {
    if (view.viewId == viewId) return &view;
  }
  return nullptr;
}

size_t AddDateKeys(const StringArray& records, StringArray& dateList, ProgressSink& progress) {
  // Views into dateList would dangle when it grows, so the set owns its keys;
  // there is one per day, few next to the records.
  std::unordered_set<std::string> known(dateList.begin(), dateList.end());
  size_t added = 0;
  for (size_t i = 0; i < records.size(); ++i) {
    std::string key = DateKey(records[i]);
    if (known.insert(key).second) {
      dateList.push_back(std::move(key));
      ++added;
    }
    progress.Step(int(i));
  }
  return added;
}

bool BuildDateList(int viewId, const RecordCollections& collections, StringArray& dateList, ProgressSink& progress) {
  const LogView* view = FindLogView(viewId);
  if (!view) return false;
  const StringArray& records = collections[view->collection];
  progress.Start(view->waitText, int(records.size()));
  AddDateKeys(records, dateList, progress);
  progress.Done();
  return true;
}

int DayToChoose(const StringArray& days, const std::optional<std::string>& lastChosen) {
  if (lastChosen) {
    const auto last = std::find(days.begin(), days.end(), *lastChosen);
    if (last != days.end()) return int(last - days.begin());
  }
  int newest = -1;
  long newestOrder = 0;
  for (size_t i = 0; i < days.size(); ++i) {
    const long order = DateKeyOrder(days[i]);
    if (newest < 0 || order >= newestOrder) {
      newest = int(i);
      newestOrder = order;
    }
  }
  return newest;
}

bool DateListLess(const std::string& a, const std::string& b) {
  const long orderA = DateKeyOrder(a), orderB = DateKeyOrder(b);
  if (orderA != orderB) return orderA < orderB;
  return orderA < 0 && a < b;
}

size_t DateListInsertIndex(const StringArray& days, const std::string& key) {
  // Lists that came from elsewhere may not be in order: a linear walk from
  // the end puts the key after its last not-later neighbour either way.
  size_t at = days.size();
  while (at > 0 && DateListLess(key, days[at - 1])) --at;
  return at;
}

}  // namespace krx
