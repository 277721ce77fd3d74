#pragma once
// The radicale that ctest starts for the server tests (radicale_server.py,
// a fixture of caldav/CMakeLists.txt): where it listens, its user, and its
// control port, through which a test stops and restarts it.
#include <string>
#include <string_view>

#include "caldav/http_transport.h"

class RadicaleTestServer {
 public:
  static constexpr char kUser[] = "tallyo";
  static constexpr char kPassword[] = "s3cret-pass";

  // Reads TALLYO_RADICALE_DIR/ports.
  RadicaleTestServer();
  // Why the server cannot be used; "" when it can.
  const std::string& problem() const { return problem_; }
  // "http://127.0.0.1:PORT" + path.
  std::string Url(std::string_view path = "/") const;
  // "stop" or "start" the server; true when the supervisor said ok.
  bool Control(std::string_view command) const;
  // A new calendar /tallyo/<name>/ (MKCALENDAR) taking `components`
  // ("VEVENT", "VTODO"); its URL, or "" when it could not be made.
  std::string MakeCalendar(HttpTransport& transport, std::string_view name, std::string_view displayname,
                           std::initializer_list<std::string_view> components) const;

 private:
  int port_ = 0;
  int control_port_ = 0;
  std::string problem_;
};

// A minimal calendar object with this UID and summary, CRLF line ends.
std::string SampleEvent(std::string_view uid, std::string_view summary);

// Counts the requests that pass through to another transport.
class CountingTransport : public HttpTransport {
 public:
  explicit CountingTransport(HttpTransport& inner) : inner_(inner) {}
  HttpResult Send(const HttpRequest& request) override {
    ++count_;
    return inner_.Send(request);
  }
  int count() const { return count_; }

 private:
  HttpTransport& inner_;
  int count_ = 0;
};
