#include "core/save_notices.h"

#include <algorithm>
#include <string>

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

std::string DamagedRecordsNotice(const std::vector<std::string>& files, const std::vector<std::string>& copies) {
  if (files.empty()) return "";
  std::string text = "These record files of the User folder are damaged:\n";
  for (size_t i = 0; i < files.size(); ++i) {
    const std::string copy = i < copies.size() ? copies[i].substr(copies[i].find_last_of("\\/") + 1) : "";
    text += files[i] + (copy.empty() ? ": no copy of it could be made, so Kestrelix does not save over it.\n"
                                     : ": its bytes as they were are kept in " + copy + ".\n");
  }
  return text + "The records that could be read are shown; the others are lost.";
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

std::string DayFileLinesLeftOutNotice(const std::vector<DayFileLeftOut>& files) {
  if (files.empty()) return "";
  std::string text = "These day files of the tmp folder hold lines that are no records (text beginning with \"<\"):\n";
  for (const DayFileLeftOut& f : files) {
    text += f.file + ": " + std::to_string(f.lines) + (f.lines == 1 ? " line" : " lines") + " left out.\n";
  }
  return text + "Their other lines were read. The day files go at the close as usual.";
}

std::string ListNotSavedNotice(RecordCollection list) {
  return std::string("The ") + (list == kWhiteList ? "White" : "Forbidden") +
         " list could not be saved: what you added is not in its file.";
}

}  // namespace krx
