// STAND-IN for the browser add-on's record writing, which is not part of
// this program: daywriter.exe <tmp folder> leaves day files in that folder
// as the add-on does while the user browses, so that the manager has logs
// to merge in a demo and in tests.
//
// For today and the two days before it, one file of each kind: *.vis
// (visited pages), *.blc (blocked popups), *.mms (played media), *.fla
// (flash objects), plus one *.ins file. Lines are text, CR LF between them,
// and begin with the time stamp "<mm/dd/yyyy hh:mm:ss>"; the address follows
// "> " and ends before " - ". A flash line carries the flash file after its
// " - ". The content is fixed per day, and files are appended to as the
// add-on does, so a second run repeats lines that the merge then skips.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

struct Entry {
  int minute;            // minutes after 08:00
  const char* address;
  const char* tail;      // after " - "
};

const Entry kVisits[] = {
    {0, "http://www.example.com/", "Example Domain"},
    {3, "http://www.example.com/news/today.html", "Example News - Today"},
    {7, "http://search.example.org/?q=kestrel", "Search: kestrel"},
    {12, "http://www.example.net/travel/", "Travel Guide"},
    {25, "http://mail.example.com/inbox", "Inbox (3)"},
    {41, "http://www.example.com/news/sports.html", "Example News - Sports"},
};
const Entry kBlocks[] = {
    {3, "http://www.example.com/news/today.html", "http://ads.example.net/popup.html?id=17"},
    {12, "http://www.example.net/travel/", "http://offers.example.biz/win.html"},
    {13, "http://www.example.net/travel/", "http://offers.example.biz/win.html?again=1"},
};
const Entry kMedia[] = {
    {5, "mms://media.example.com/news/morning.wmv", "Morning News"},
    {44, "http://media.example.com/sports/goal.asx", "Goal of the Day"},
};
const Entry kFlash[] = {
    {0, "http://www.example.com/", "http://www.example.com/media/intro.swf"},
    {12, "http://www.example.net/travel/", "http://www.example.net/banner/map.swf"},
};

SYSTEMTIME DaysBefore(const SYSTEMTIME& today, int days) {
  FILETIME ft;
  SystemTimeToFileTime(&today, &ft);
  ULARGE_INTEGER t;
  t.LowPart = ft.dwLowDateTime;
  t.HighPart = ft.dwHighDateTime;
  t.QuadPart -= ULONGLONG(days) * 24 * 60 * 60 * 10000000ULL;
  ft.dwLowDateTime = t.LowPart;
  ft.dwHighDateTime = t.HighPart;
  SYSTEMTIME out;
  FileTimeToSystemTime(&ft, &out);
  return out;
}

std::string Line(const SYSTEMTIME& day, int dayIndex, const Entry& e) {
  int minute = e.minute + dayIndex * 7;  // the days differ a little
  char stamp[40];
  std::snprintf(stamp, sizeof stamp, "<%02u/%02u/%04u %02d:%02d:%02d> ", day.wMonth, day.wDay, day.wYear, 8 + minute / 60,
                minute % 60, (minute * 13) % 60);
  return std::string(stamp) + e.address + " - " + e.tail;
}

template <size_t N>
std::string Lines(const SYSTEMTIME& day, int dayIndex, const Entry (&entries)[N], bool finalCrLf) {
  std::string text;
  for (size_t i = 0; i < N; ++i) {
    if (i) text += "\r\n";
    text += Line(day, dayIndex, entries[i]);
  }
  if (finalCrLf) text += "\r\n";
  return text;
}

bool Append(const std::string& path, const std::string& text) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  // A file left without a final CR LF gets one before the new lines; one
  // that has it gets no second (an empty line would glue itself to the next).
  std::string bytes = text;
  LARGE_INTEGER size;
  if (GetFileSizeEx(h, &size) && size.QuadPart > 0) {
    char last[2] = {0, 0};
    DWORD got = 0;
    LARGE_INTEGER at;
    at.QuadPart = size.QuadPart >= 2 ? size.QuadPart - 2 : 0;
    SetFilePointerEx(h, at, nullptr, FILE_BEGIN);
    ReadFile(h, last, 2, &got, nullptr);
    if (!(got == 2 && last[0] == '\r' && last[1] == '\n')) bytes = "\r\n" + bytes;
  }
  DWORD put = 0;
  bool ok = WriteFile(h, bytes.data(), DWORD(bytes.size()), &put, nullptr) && put == bytes.size();
  CloseHandle(h);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: daywriter <tmp folder>\n");
    return 2;
  }
  std::string folder = argv[1];
  // "C:\tmp\" on a command line arrives as C:\tmp" (the backslash escaped the quote).
  if (!folder.empty() && folder.back() == '"') folder.pop_back();
  if (folder.empty()) return 2;
  if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
  CreateDirectoryA(folder.c_str(), nullptr);

  SYSTEMTIME today;
  GetLocalTime(&today);
  bool ok = true;
  for (int d = 2; d >= 0; --d) {
    SYSTEMTIME day = DaysBefore(today, d);
    char base[32];
    std::snprintf(base, sizeof base, "%04u%02u%02u", day.wYear, day.wMonth, day.wDay);
    const std::string name = folder + base;
    ok = Append(name + ".vis", Lines(day, d, kVisits, true)) && ok;
    ok = Append(name + ".blc", Lines(day, d, kBlocks, false)) && ok;
    ok = Append(name + ".mms", Lines(day, d, kMedia, true)) && ok;
    ok = Append(name + ".fla", Lines(day, d, kFlash, false)) && ok;
  }
  char ins[32];
  std::snprintf(ins, sizeof ins, "%04u%02u%02u.ins", today.wYear, today.wMonth, today.wDay);
  ok = Append(folder + ins, "installed") && ok;
  if (!ok) std::fprintf(stderr, "daywriter: could not write every file in %s\n", folder.c_str());
  return ok ? 0 : 1;
}
