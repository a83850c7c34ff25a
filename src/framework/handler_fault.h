#pragma once
// What a message handler throws (std::bad_alloc when memory runs out, or
// anything else) is caught where the layer dispatches the message: an
// exception must never cross the system's frames between DispatchMessage
// and our procedure, and the program must go on, so that its close still
// saves what the user has. The program says how it is reported.
#include <windows.h>

namespace krx {

// window: whose message was being handled; what: the exception's own text.
using HandlerFaultReporter = void (*)(HWND window, bool outOfMemory, const char* what);

// Installs reporter (nullptr: faults are only caught); returns the one it replaces.
HandlerFaultReporter SetHandlerFaultReporter(HandlerFaultReporter reporter);

// Inside a catch (...) block of the layer: hands the exception being
// handled to the reporter. Never throws; a fault while a report is still
// being shown (its notice runs messages too) is not reported again.
void ReportHandlerFault(HWND window) noexcept;

}  // namespace krx
