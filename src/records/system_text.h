#pragma once
// Record bytes are text in the system's ANSI code page. Exports to HTML
// want UTF-8, and readers of double-byte text need the lead bytes. On
// Windows the system converts; the native build stands in for a Western
// system (windows-1252, and text that already is UTF-8 kept as it is).
#include <string>
#include <string_view>

#include "core/day_file_merge.h"

namespace krx {

std::string SystemTextToUtf8(std::string_view text);
// The code page record bytes are in (Windows' ANSI code page; the native
// build's stand-in keeps UTF-8, so UTF-8).
unsigned SystemCodePage();
// The system's lead bytes, for walking double-byte text: nullptr when the
// code page has none, so a reader can take its fast path.
LeadBytePredicate SystemLeadBytes();

// The local time now, as an export's heading shows it (ExportTimeText).
std::string LocalTimeText();

}  // namespace krx
