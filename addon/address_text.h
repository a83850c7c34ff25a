#pragma once
// The browser's addresses come as UTF-16; the lists, the day files and the
// core's decisions work on text in the system code page. An address goes
// over exactly or not at all: its host in ASCII form ("xn--" labels), every
// other character the code page holds as itself, and each one it does not
// hold as the %-escapes of its UTF-8 bytes, the way the browser sends it.
// No best-fit look-alikes ("a" for "ā") and no "?" that makes different
// addresses one text.
#include <windows.h>

#include <string>

namespace krx_addon {

std::string AddressText(const wchar_t* text, int length);
std::string AddressText(BSTR text);
// A list entry, wide or in the system code page, read the same way, so
// that it matches the addresses it names.
std::string AddressTextOfWide(const std::u16string& text);
void ToAddressText(std::string& ansi);  // in place: most entries are ASCII and stay as they are

}  // namespace krx_addon
