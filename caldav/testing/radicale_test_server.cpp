#include "caldav/testing/radicale_test_server.h"

#include <cstdlib>
#include <fstream>

#include "base/testing/test_socket.h"

RadicaleTestServer::RadicaleTestServer() {
  const char* dir = std::getenv("TALLYO_RADICALE_DIR");
  if (!dir) {
    problem_ = "TALLYO_RADICALE_DIR is not set: run the test through ctest, which starts radicale";
    return;
  }
  std::ifstream ports(std::string(dir) + "/ports");
  if (!(ports >> port_ >> control_port_)) problem_ = std::string("no ports file in ") + dir;
}

std::string RadicaleTestServer::Url(std::string_view path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

bool RadicaleTestServer::Control(std::string_view command) const {
  test_socket::Handle connection = test_socket::ConnectToLoopback(control_port_);
  if (connection == test_socket::kInvalid) return false;
  test_socket::SendAll(connection, std::string(command) + "\n");
  std::string reply;
  char chunk[64];
  for (int waited = 0; waited < 30000 && reply.find('\n') == std::string::npos;) {
    int n = test_socket::Receive(connection, chunk, sizeof chunk, 100);
    if (n == -2) {
      waited += 100;
      continue;
    }
    if (n <= 0) break;
    reply.append(chunk, static_cast<std::size_t>(n));
  }
  test_socket::Close(connection);
  return reply.rfind("ok", 0) == 0;
}

std::string RadicaleTestServer::MakeCalendar(HttpTransport& transport, std::string_view name,
                                             std::string_view displayname,
                                             std::initializer_list<std::string_view> components) const {
  std::string body =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<C:mkcalendar xmlns:D=\"DAV:\" "
      "xmlns:C=\"urn:ietf:params:xml:ns:caldav\"><D:set><D:prop><D:displayname>" +
      std::string(displayname) + "</D:displayname><C:supported-calendar-component-set>";
  for (std::string_view component : components) body += "<C:comp name=\"" + std::string(component) + "\"/>";
  body += "</C:supported-calendar-component-set></D:prop></D:set></C:mkcalendar>";
  std::string url = Url("/" + std::string(kUser) + "/" + std::string(name) + "/");
  HttpResult result = transport.Send({"MKCALENDAR", url, {{"Content-Type", "application/xml"}}, body});
  return result.answered() && result.status == 201 ? url : "";
}

std::string SampleEvent(std::string_view uid, std::string_view summary) {
  return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Tallyo tests//EN\r\nBEGIN:VEVENT\r\nUID:" +
         std::string(uid) +
         "\r\nDTSTAMP:20260101T000000Z\r\nDTSTART:20260301T090000Z\r\nSUMMARY:" + std::string(summary) +
         "\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
}
