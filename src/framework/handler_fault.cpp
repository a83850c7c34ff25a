#include "framework/handler_fault.h"

#include <exception>
#include <new>

namespace krx {
namespace {
HandlerFaultReporter g_reporter = nullptr;
bool g_reporting = false;
}  // namespace

HandlerFaultReporter SetHandlerFaultReporter(HandlerFaultReporter reporter) {
  HandlerFaultReporter previous = g_reporter;
  g_reporter = reporter;
  return previous;
}

void ReportHandlerFault(HWND window) noexcept {
  bool outOfMemory = false;
  const char* what = "";
  // The exception stays alive until the caller's handler ends, so its text does too.
  try {
    throw;
  } catch (const std::bad_alloc&) {
    outOfMemory = true;
  } catch (const std::exception& e) {
    what = e.what();
  } catch (...) {
  }
  if (!g_reporter || g_reporting) return;
  g_reporting = true;
  try {
    g_reporter(window, outOfMemory, what);
  } catch (...) {
    // The report itself ran out of memory: the program still goes on.
  }
  g_reporting = false;
}

}  // namespace krx
