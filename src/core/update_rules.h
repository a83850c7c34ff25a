#pragma once
// The online update check's rules: where the version file lies, how its
// answer is read and judged, and what the user is told.
#include <string>

namespace krx {

extern const char kCurrentVersion[];  // "1.30"

// "host" or "host:port"; the port is 80 when none is given. False for an
// empty host or a port that is not a number from 1 to 65535.
bool SplitHostPort(const std::string& hostPort, std::string& host, unsigned& port);

// Where the version file and the installer lie: the update host's setting,
// "[https://|http://]host[:port]". HTTPS unless the setting says http://
// (a test server on the loopback); the port is the scheme's unless given.
struct UpdateServer {
  bool secure = true;
  std::string host;   // the name alone, for the connection
  unsigned port = 443;
  std::string named;  // host[:port] without the scheme, as the notices name it
};
// False for another scheme or a host:port SplitHostPort refuses; named is
// set even then, for the notice.
bool ParseUpdateServer(const std::string& setting, UpdateServer& server);

// "/" + product + ".ver" and the scheme + host + "/download/krx.exe".
std::string VersionFilePath(const std::string& product);
std::string InstallerAddress(const UpdateServer& server);

// The version file is read in pieces of at most 32 bytes; each piece counts
// up to its first NUL byte.
void AppendVersionPiece(std::string& answer, const char* piece, unsigned length);
// A server error (any status but 200), an answer of 5 or more characters
// (an error page) or one with a line end counts as no answer: empty.
std::string JudgeVersionAnswer(const std::string& answer, unsigned httpStatus);

struct UpdateVerdict {
  enum Kind { kNoAnswer, kUpToDate, kOffer };
  Kind kind;
  std::string text;  // the notice or the question shown
};
// Any version other than the current one is offered, older ones too.
UpdateVerdict JudgeUpdate(const std::string& latest, const std::string& host, const std::string& product);

}  // namespace krx
