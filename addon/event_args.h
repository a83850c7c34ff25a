#pragma once
// What the browser's events carry, read as the add-on needs it: addresses
// in the system code page, flags, the Cancel slot, the frame.
#include <windows.h>
#include <oaidl.h>

#include <string>

#include "core/settings_file.h"

namespace krx_addon {

// Titles come as UTF-16; the day files are in the system code page.
std::string ToAnsi(const wchar_t* wide, int length);
std::string FromBstr(BSTR s);
// The events' arguments come last to first in rgvarg.
const VARIANT* Arg(const DISPPARAMS& p, UINT index);
// The string arguments the add-on reads are all addresses (address_text.h).
std::string StringArg(const VARIANT* v);
long LongArg(const VARIANT* v);
VARIANT_BOOL* CancelArg(const VARIANT* v);
IDispatch* DispatchArg(const VARIANT* v);
bool On(const krx::SettingValues& opt, krx::Setting s);

}  // namespace krx_addon
