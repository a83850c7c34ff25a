#pragma once
// Notices that the end of a Windows session kept from the screen: a box
// then would block the logoff and die with it. Each line of such a notice
// goes to the error log under a prefix of its own; the next start shows
// what came after the last "shown" line, once, and then logs that line.
// The log only grows, so what was shown is never shown again.
#include <string>
#include <string_view>
#include <vector>

namespace krx {

inline constexpr char kKeptNoticePrefix[] = "Not shown at the end of the Windows session: ";
inline constexpr char kKeptNoticesShown[] = "The notices of the session's end above were shown at the next start.";

// The log lines that keep notice: each of its lines under the prefix.
std::vector<std::string> KeptNoticeLogLines(const std::string& notice);

// What the log holds for the next start: the kept lines after the last
// "shown" line, without their prefix, one a line. Empty for none. Lines may
// end in CR LF or LF; the log's first line may be cut (a tail of it).
std::string KeptNoticesOf(std::string_view log);

// The box that shows them at the next start.
std::string KeptNoticesBoxText(const std::string& kept);

}  // namespace krx
