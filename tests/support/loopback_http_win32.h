#pragma once
// A tiny HTTP server on 127.0.0.1 for the update check's and the add-on's
// tests: it answers every request with one fixed status and body, or with
// what a function of the test's makes of the request, or accepts and stays
// silent. Loopback only, any free port; it stops when destroyed. Link
// ws2_32, and include this before <windows.h>.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace krx_test {

class LoopbackHttpServer {
 public:
  // kAnswerAtOnce answers the first bytes of a connection, whatever they
  // are (a TLS handshake that waits for the server's part first).
  enum class Mode { kAnswer, kSilent, kAnswerAtOnce };

  LoopbackHttpServer(int status, std::string body, Mode mode = Mode::kAnswer)
      : status_(status), body_(std::move(body)), mode_(mode) {
    Start();
  }
  // reply: the whole response (status line, headers, body) to a request's head.
  using Responder = std::function<std::string(const std::string& head)>;
  explicit LoopbackHttpServer(Responder reply) : status_(200), mode_(Mode::kAnswer), reply_(std::move(reply)) {
    Start();
  }

  ~LoopbackHttpServer() {
    stop_ = true;
    thread_.join();
    for (SOCKET s : held_) closesocket(s);
    closesocket(listener_);
    WSACleanup();
  }
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

  unsigned port() const { return port_; }
  std::string hostPort() const { return "127.0.0.1:" + std::to_string(port_); }
  // Each request's head (request line and headers) as received.
  std::vector<std::string> requests() {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
  }

  // A port on which nothing listens (bound, then released).
  static unsigned FreePort() {
    LoopbackHttpServer probe(200, "");
    return probe.port();
  }

 private:
  void Start() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    int length = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    listen(listener_, 8);
    thread_ = std::thread([this] { Run(); });
  }

  void Run() {
    while (!stop_) {
      fd_set ready;
      FD_ZERO(&ready);
      FD_SET(listener_, &ready);
      timeval wait = {0, 50 * 1000};
      if (select(0, &ready, nullptr, nullptr, &wait) <= 0) continue;
      SOCKET client = accept(listener_, nullptr, nullptr);
      if (client == INVALID_SOCKET) continue;
      if (mode_ == Mode::kSilent) {
        held_.push_back(client);  // answered never; closed when the server goes
        continue;
      }
      std::string head;
      char buffer[512];
      while (head.find("\r\n\r\n") == std::string::npos && (mode_ != Mode::kAnswerAtOnce || head.empty())) {
        int n = recv(client, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        head.append(buffer, size_t(n));
      }
      {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(head);
      }
      std::string reply = reply_ ? reply_(head)
                                 : "HTTP/1.1 " + std::to_string(status_) + (status_ == 200 ? " OK" : " Error") +
                                       "\r\nContent-Type: text/plain\r\nContent-Length: " +
                                       std::to_string(body_.size()) + "\r\nConnection: close\r\n\r\n" + body_;
      send(client, reply.data(), int(reply.size()), 0);
      shutdown(client, SD_SEND);
      closesocket(client);
    }
  }

  int status_;
  std::string body_;
  Mode mode_;
  Responder reply_;
  SOCKET listener_ = INVALID_SOCKET;
  unsigned port_ = 0;
  std::atomic<bool> stop_{false};
  std::vector<SOCKET> held_;
  std::mutex mutex_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

}  // namespace krx_test
