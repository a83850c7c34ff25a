// The online update check against a server of the test's own on 127.0.0.1:
// the version file's answers, a server error, a silent server, no server.
// Winsock's header must come before <windows.h>.
#include "support/loopback_http_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "config/maker_site.h"
#include "config/update_check.h"
#include "support/box_answerer_win32.h"
#include "support/open_recorder_win32.h"
#include "support/test_support.h"

namespace {

using krx_test::LoopbackHttpServer;

constexpr unsigned kShortTimeoutMs = 1500;

// Points the update check at a host for one test: the loopback server
// speaks plain HTTP, which the setting must ask for by name.
class UpdateHostOverride {
 public:
  explicit UpdateHostOverride(const std::string& hostPort, const char* scheme = "http://") {
    SetEnvironmentVariableA("http_proxy", nullptr);
    SetEnvironmentVariableA("KESTRELIX_UPDATE_HOST", (scheme + hostPort).c_str());
  }
  ~UpdateHostOverride() { SetEnvironmentVariableA("KESTRELIX_UPDATE_HOST", nullptr); }
};

TEST(UpdateCheck, VersionFileAnswers) {
  struct Case {
    int status;
    std::string body;
    std::string fetched;
  } cases[] = {
      {200, "1.30", "1.30"},
      {200, "1.2", "1.2"},
      {200, "1.30\r\n", ""},      // six characters: no answer
      {200, "", ""},
      {404, "404", ""},           // a short error page is no version
      {200, std::string(100, '9'), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.body);
    LoopbackHttpServer server(c.status, c.body);
    UpdateHostOverride host(server.hostPort());
    EXPECT_EQ(krx::FetchLatestVersion("Kestrelix", kShortTimeoutMs), c.fetched);
    std::vector<std::string> requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].rfind("GET /Kestrelix.ver HTTP/1.1\r\n", 0), 0u) << requests[0];
  }
}

TEST(UpdateCheck, SilentServerAndNoServerGiveNoAnswer) {
  {
    LoopbackHttpServer silent(200, "1.30", LoopbackHttpServer::Mode::kSilent);
    UpdateHostOverride host(silent.hostPort());
    // Returns at all only thanks to the time-outs (CTest's limit catches a hang).
    EXPECT_EQ(krx::FetchLatestVersion("Kestrelix", kShortTimeoutMs), "");
  }
  UpdateHostOverride host("127.0.0.1:" + std::to_string(LoopbackHttpServer::FreePort()));
  EXPECT_EQ(krx::FetchLatestVersion("Kestrelix", kShortTimeoutMs), "");
}

// The check speaks HTTPS unless told otherwise: a server that answers in
// plain HTTP (no certificate at all) gives no answer, and the notice names
// the host alone.
TEST(UpdateCheck, HttpsByDefaultAndAServerWithoutACertificateIsNoAnswer) {
  LoopbackHttpServer server(200, "1.31", LoopbackHttpServer::Mode::kAnswerAtOnce);
  UpdateHostOverride host(server.hostPort(), "");
  krx_test::BoxAnswerer boxes({IDOK});
  EXPECT_FALSE(krx::CheckForUpdate(1, kShortTimeoutMs));
  EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Can not connect to " + server.hostPort() +
                                                    ", Please check your network connection."});
  // What reached the server was no HTTP request but a TLS handshake record.
  const std::vector<std::string> requests = server.requests();
  ASSERT_FALSE(requests.empty());
  for (const std::string& request : requests) EXPECT_EQ(request.front(), '\x16');
}

TEST(UpdateCheck, HostFromTheEnvironmentOrTheBuild) {
  EXPECT_FALSE(krx::UpdateHost().empty());
  EXPECT_EQ(krx::WebSiteAddress().rfind("http://", 0), 0u);
  EXPECT_EQ(krx::SupportMailAddress().rfind("mailto:", 0), 0u);
  {
    UpdateHostOverride host("mirror.example:8081", "");
    EXPECT_EQ(krx::UpdateHost(), "mirror.example:8081");
  }
  UpdateHostOverride empty("", "");
  EXPECT_NE(krx::UpdateHost(), "");
}

TEST(UpdateCheck, TheThreeMessages) {
  struct Case {
    std::string body;
    int answer;
    bool accepted;
    std::string text;
  } cases[] = {
      {"1.30", IDOK, false, "Your Kestrelix is already the newest one."},
      {"", IDOK, false, "Can not connect to HOST, Please check your network connection."},
      {"1.2", IDCANCEL, false,
       "A new version 1.2 is available, do you want to update Kestrelix now (the current Kestrelix will be closed)?"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.body);
    LoopbackHttpServer server(200, c.body);
    UpdateHostOverride host(server.hostPort());
    krx_test::BoxAnswerer boxes({c.answer});
    EXPECT_EQ(krx::CheckForUpdate(1, kShortTimeoutMs), c.accepted);
    std::string want = c.text;
    if (size_t at = want.find("HOST"); at != std::string::npos) want.replace(at, 4, server.hostPort());
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{want});
  }
}

TEST(UpdateCheck, YesOpensTheInstallerOfTheSameHost) {
  krx_test::TempFolder folder;
  krx_test::OpenRecorder opened("http", folder / "opened.txt");
  LoopbackHttpServer server(200, "1.31");
  UpdateHostOverride host(server.hostPort());
  krx_test::BoxAnswerer boxes({IDOK});
  EXPECT_TRUE(krx::CheckForUpdate(3, kShortTimeoutMs));
  EXPECT_EQ(opened.Opened(), std::vector<std::string>{"http://" + server.hostPort() + "/download/krx.exe"});
}

}  // namespace
