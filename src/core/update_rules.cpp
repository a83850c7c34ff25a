#include "core/update_rules.h"

#include <cctype>

namespace krx {

const char kCurrentVersion[] = "1.30";

bool SplitHostPort(const std::string& hostPort, std::string& host, unsigned& port) {
  size_t colon = hostPort.rfind(':');
  host = hostPort.substr(0, colon);
  port = 80;
  if (host.empty()) return false;
  if (colon == std::string::npos) return true;
  std::string digits = hostPort.substr(colon + 1);
  if (digits.empty() || digits.size() > 5) return false;
  unsigned value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + unsigned(c - '0');
  }
  if (value == 0 || value > 65535) return false;
  port = value;
  return true;
}

namespace {

bool StartsWithNoCase(const std::string& text, const char* prefix) {
  size_t i = 0;
  for (; prefix[i]; ++i) {
    if (i >= text.size() || std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
  }
  return true;
}

}  // namespace

bool ParseUpdateServer(const std::string& setting, UpdateServer& server) {
  server = UpdateServer();
  server.named = setting;
  const size_t scheme = setting.find("://");
  if (scheme != std::string::npos) {
    server.named = setting.substr(scheme + 3);
    // A plain-HTTP answer can be forged by anyone on the way: only a
    // setting that asks for it by name gets it.
    if (StartsWithNoCase(setting, "http://")) {
      server.secure = false;
    } else if (!StartsWithNoCase(setting, "https://")) {
      return false;
    }
  }
  if (!SplitHostPort(server.named, server.host, server.port)) return false;
  if (server.named.find(':') == std::string::npos) server.port = server.secure ? 443 : 80;
  return true;
}

std::string VersionFilePath(const std::string& product) { return "/" + product + ".ver"; }

std::string InstallerAddress(const UpdateServer& server) {
  return (server.secure ? "https://" : "http://") + server.named + "/download/krx.exe";
}

void AppendVersionPiece(std::string& answer, const char* piece, unsigned length) {
  unsigned n = 0;
  while (n < length && piece[n] != '\0') ++n;
  answer.append(piece, n);
}

std::string JudgeVersionAnswer(const std::string& answer, unsigned httpStatus) {
  // A short answer can still end in a line end ("1.3" and CR LF): that is
  // not the bare version text the file must hold either.
  if (httpStatus != 200 || answer.size() >= 5 || answer.find_first_of("\r\n") != std::string::npos) {
    return std::string();
  }
  return answer;
}

UpdateVerdict JudgeUpdate(const std::string& latest, const std::string& host, const std::string& product) {
  if (latest.empty()) {
    return {UpdateVerdict::kNoAnswer, "Can not connect to " + host + ", Please check your network connection."};
  }
  if (latest == kCurrentVersion) return {UpdateVerdict::kUpToDate, "Your " + product + " is already the newest one."};
  return {UpdateVerdict::kOffer, "A new version " + latest + " is available, do you want to update " + product +
                                     " now (the current " + product + " will be closed)?"};
}

}  // namespace krx
