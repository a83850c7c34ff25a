#include "core/save_notices.h"

#include <algorithm>

#include "core/day_file_marks.h"

namespace krx {

namespace {

// The four logs take in the add-on's day files; the two lists do not.
bool IsLogFile(const std::string& name) {
  const int c = RecordCollectionOfFile(name);
  return c >= kVisitRecords && c <= kFlashRecords;
}

}  // namespace

std::string UnreadableRecordsNotice(const std::vector<std::string>& files, const std::vector<std::string>& notLoaded) {
  if (files.empty() && notLoaded.empty()) return "";
  auto lines = [](const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
      text += name + (IsLogFile(name) ? ": the add-on's new records for it wait in the tmp folder.\n"
                                      : ": what you add to this list is not saved.\n");
    }
    return text;
  };
  std::string text;
  if (!files.empty()) text += "These record files of the User folder cannot be read now:\n" + lines(files);
  if (!notLoaded.empty()) {
    text += "These record files of the User folder were not loaded (not enough memory, or an internal error):\n" +
            lines(notLoaded);
  }
  return text + "Kestrelix keeps them untouched and does not save over them. Start it again once they can be read.";
}

std::string UnsavedAtCloseNotice(const std::vector<std::string>& unsaved, const std::vector<std::string>& heldBack,
                                 bool marksSaved) {
  std::string lines;
  for (const std::string& name : unsaved) {
    if (std::find(heldBack.begin(), heldBack.end(), name) != heldBack.end()) continue;
    lines += name + (IsLogFile(name) ? ": its new records stay in the add-on's day files and come in at the next "
                                       "start; lines deleted from it since the start may come back.\n"
                                     : ": the changes made to this list since the start are lost.\n");
  }
  std::string text;
  if (!lines.empty()) text = "These record files could not be saved:\n" + lines + "Their old contents are kept.";
  if (!marksSaved) {
    // With the old marks, or none, the next start reads the day files kept
    // in the tmp folder from further back than this close merged them.
    text += std::string(text.empty() ? "" : "\n") + kDayFileMarksName +
            " could not be saved: lines deleted from the logs since the start may come back at the next start.";
  }
  return text;
}

std::string ListNotSavedNotice(RecordCollection list) {
  return std::string("The ") + (list == kWhiteList ? "White" : "Forbidden") +
         " list could not be saved: what you added is not in its file.";
}

}  // namespace krx
