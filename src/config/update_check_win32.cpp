#include "config/update_check.h"

#include <windows.h>
#include <shellapi.h>
#include <wininet.h>

#include "config/maker_site.h"
#include "core/update_rules.h"
#include "framework/wait_cursor.h"
#include "records/folders.h"
#include "skin/skin_message_box.h"

namespace krx {

namespace {

constexpr DWORD_PTR kContext = 1;
// Always from the server, never into the cache, bytes as they are.
constexpr DWORD kRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_DONT_CACHE | INTERNET_FLAG_TRANSFER_BINARY;
constexpr DWORD kPieceSize = 32;

class InternetHandle {
 public:
  explicit InternetHandle(HINTERNET handle) : handle_(handle) {}
  ~InternetHandle() {
    if (handle_) InternetCloseHandle(handle_);
  }
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;
  HINTERNET get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  HINTERNET handle_;
};

// A server that accepts and never answers would otherwise hold the window
// for ever. The time-outs go on the connection and the request handles:
// those set on the session do not reach the handles made from it everywhere.
void SetTimeouts(HINTERNET handle, DWORD ms) {
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT,
                       INTERNET_OPTION_DATA_SEND_TIMEOUT, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT}) {
    InternetSetOptionA(handle, option, &ms, sizeof ms);
  }
}

}  // namespace

std::string FetchLatestVersion(const std::string& name, unsigned timeoutMs) {
  UpdateServer server;
  if (!ParseUpdateServer(UpdateHost(), server)) return std::string();

  InternetHandle session(InternetOpenA(nullptr, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) return std::string();
  SetTimeouts(session.get(), timeoutMs);
  InternetHandle connection(InternetConnectA(session.get(), server.host.c_str(), static_cast<INTERNET_PORT>(server.port), nullptr,
                                             nullptr, INTERNET_SERVICE_HTTP, 0, kContext));
  if (!connection) return std::string();
  SetTimeouts(connection.get(), timeoutMs);
  // Over HTTPS a certificate that does not hold fails the request (no
  // flag here waives a check), and a redirect to plain HTTP is refused.
  const DWORD flags = kRequestFlags | (server.secure ? INTERNET_FLAG_SECURE : 0);
  InternetHandle request(HttpOpenRequestA(connection.get(), "GET", VersionFilePath(name).c_str(), nullptr, nullptr,
                                          nullptr, flags, kContext));
  if (!request) return std::string();
  SetTimeouts(request.get(), timeoutMs);
  if (!HttpSendRequestA(request.get(), nullptr, 0, nullptr, 0)) return std::string();

  // An error page is no version, however short its body.
  DWORD status = 0;
  DWORD size = sizeof status;
  if (!HttpQueryInfoA(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr)) {
    return std::string();
  }

  std::string answer;
  for (;;) {
    char piece[kPieceSize + 1] = {};
    DWORD read = 0;
    if (!InternetReadFile(request.get(), piece, kPieceSize, &read)) return std::string();
    AppendVersionPiece(answer, piece, read);
    if (read != kPieceSize) break;
    // Nothing longer than four characters is a version: stop reading a page.
    if (answer.size() >= 5) break;
  }
  return JudgeVersionAnswer(answer, status);
}

bool CheckForUpdate(int theme, unsigned timeoutMs) {
  std::string latest;
  {
    WaitCursor wait;
    latest = FetchLatestVersion(kProductName, timeoutMs);
  }
  UpdateServer server;
  const bool valid = ParseUpdateServer(UpdateHost(), server);
  UpdateVerdict verdict = JudgeUpdate(valid ? latest : std::string(), server.named, kProductName);
  if (verdict.kind != UpdateVerdict::kOffer) {
    SkinMessageBox(verdict.text, theme);
    return false;
  }
  if (!SkinYesNoBox(verdict.text, theme)) return false;
  ShellExecuteA(nullptr, "open", InstallerAddress(server).c_str(), nullptr, nullptr, SW_SHOW);
  return true;
}

}  // namespace krx
