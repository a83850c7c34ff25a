#pragma once
// What the manager window's item commands read out of a list line, and the
// Find scan over the item list. Lines are the records exactly as stored.
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace krx {

// Visit, block and media lines: from two characters after the first '>'
// (the blank after the time stamp) up to the first " - " after that; empty
// when no " - " follows. A line without '>' loses its first character,
// which is what the add-on's readers have always done.
std::string LogAddress(const std::string& line);

// Browser-cache lines ("Visited: user@http://..."): the text after the first
// '@', else the whole line.
std::string CacheAddress(const std::string& line);

// Flash lines: the text three characters after the first " - "; without one,
// the text from the third character on.
std::string FlashFile(const std::string& line);

// What Visit/Play opens for the focused line of a view (179-185); empty
// means nothing is opened.
std::string VisitTarget(int view, const std::string& line);

// Visit/Play hands its text to the shell, which opens whatever is registered
// for it: a file on a share, a script, any protocol. Block-log addresses are
// chosen by the pages a user merely visited, so only web addresses (http,
// https, ftp) are opened, and in the media view media addresses (mms, rtsp)
// as well. kNoLine: the line gives nothing to open (nothing is said);
// kRefused: it gives a text that is no such address (the status line says
// so); kOpen: open `target`, the address without its surrounding blanks.
struct VisitPlan {
  enum Kind { kNoLine, kRefused, kOpen };
  Kind kind = kNoLine;
  std::string target;
};
VisitPlan PlanVisit(int view, const std::string& line);
// The status line's text for a refused line of that view.
const char* VisitRefusedText(int view);
// True when text is "scheme://..." with one of the schemes the view opens
// (any case), and holds nothing a command line could split on.
bool IsOpenableAddress(int view, const std::string& text);

// An address (http, https, ftp) that Visit/Play opens in every view.
bool IsWebAddress(const std::string& text);

// What the flash view plays and saves: a local file (a path from a drive
// letter, the browser cache's copies among them) or a web address. A page
// chooses what a flash line names; a network path ("\\host\share", "//host",
// any "file:" address, which can name one too) would have the player reach
// that host and hand it the user's Windows credentials. Refused, like any
// other text.
enum class FlashSource { kNothing, kLocalFile, kWebAddress, kRefused };
FlashSource FlashSourceOf(const std::string& file);
// The name Save As offers: the file's own name, without the browser
// cache's "[1]" before its extension and without a query.
std::string FlashSaveName(const std::string& file);
// The status line's words when the flash view refuses a line, and when
// Save flash finds no copy on this computer to save.
constexpr char kFlashRefusedText[] = "The line names no flash file on this computer or on the web.";
constexpr char kFlashNotCachedText[] = "The browser's cache holds no copy of this flash file: nothing was saved.";
constexpr char kFlashNotSavedText[] = "The flash file could not be saved.";

// The address that Add to white/forbidden list takes from a line: the
// cache address in the browser-cache view, the log address elsewhere.
std::string ListAddress(int view, const std::string& line);

// Removes, for each text in turn, the first element equal to it: the same
// result as one RemoveFirst per text, in one pass over the array, so
// deleting many lines from a large log stays linear.
void RemoveFirstOfEach(std::vector<std::string>& array, const std::vector<std::string>& texts);

// Delete in a view: takes the lines removed from the item list out of the
// view's collection. A log lists every record, so each line takes one equal
// record (the first); the white and forbidden lists show equal entries once,
// so a line there takes every equal copy, or the entry would come back at
// the next fill.
void RemoveDeletedLines(int view, std::vector<std::string>& collection, const std::vector<std::string>& lines);

// "Delete this day": every record whose date key (DateKey, as the date list
// found the day) is date. A record of another day that quotes the date in
// its address or title stays. Returns how many went.
size_t RemoveRecordsOfDay(std::vector<std::string>& records, const std::string& date);

// Update item in the white or forbidden list: every copy of old goes (the
// list showed them as one line) and replacement is appended once.
void ReplaceListEntry(std::vector<std::string>& list, const std::string& old, const std::string& replacement);

// Lower case in the ANSI (Windows-1252) code page, as the system's own
// lower-casing does for the Western code page.
std::string LowerAnsi(std::string text);

// Whether a line holds a text, with case as Find compares it (ignored unless
// caseSetting is exactly 1). Made once per search: a filter over many lines
// lowers the wanted text once and compares byte by byte, copying no line.
class LineMatcher {
 public:
  LineMatcher(const std::string& text, int caseSetting);
  bool operator()(std::string_view line) const;
  bool Empty() const { return wanted_.empty(); }

 private:
  std::string wanted_;
  bool exact_;
};

// The outcome of one Find step.
struct FindResult {
  enum Kind { kNotFound, kNext, kAskWrap };
  Kind kind = kNotFound;
  int line = -1;  // kNext: the next match; kAskWrap: the first match
};

// Scans from the top for text; a match counts as "next" only below the
// focused line (or below line 0 when none is focused, focused == -1), so a
// match on the focused line itself leads to the wrap-around question.
// Case is ignored unless caseSetting is exactly 1.
FindResult FindNext(const std::vector<std::string>& lines, const std::string& text, int focused, int caseSetting);
// The same over count lines read one at a time, so a window can scan its
// list without copying it first; the scan stops at the next match.
FindResult FindNext(int count, const std::function<std::string(int)>& lineAt, const std::string& text, int focused,
                    int caseSetting);

// The first line at or after `from` that contains text (case as FindNext),
// or -1.
int FirstMatchFrom(int count, const std::function<std::string(int)>& lineAt, const std::string& text, int from,
                   int caseSetting);
// The date keys of the records that contain text (case as FindNext): the
// days "Find in all days" would land on, found in one pass.
std::unordered_set<std::string> DaysContaining(const std::vector<std::string>& records, const std::string& text,
                                               int caseSetting);

}  // namespace krx
