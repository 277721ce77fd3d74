// Runs the built tallyo-cli fetch against a server on 127.0.0.1 and checks
// its output and exit code.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli/testing/cli_test_folder.h"
#include "tallyo_version.h"
#include "update/testing/loopback_http_server.h"
#include "update/version_notice.h"

namespace {

namespace fs = std::filesystem;

// The fetch output without the "recv: n bytes" lines, and their total.
struct FetchRun {
  int exit_code = -1;
  std::string out;
  long received = 0;
};

class FetchCommand : public CliTestFolder {
 protected:
  FetchRun RunFetch(std::vector<std::string> args) {
    args.insert(args.begin(), "fetch");
    CliRun cli = RunCli(args);
    FetchRun run;
    run.exit_code = cli.exit_code;
    const std::string& out = cli.out;
    for (std::size_t start = 0; start < out.size();) {
      std::size_t end = out.find('\n', start);
      end = end == std::string::npos ? out.size() : end + 1;
      std::string line = out.substr(start, end - start);
      if (line.rfind("recv: ", 0) == 0) {
        run.received += std::atol(line.c_str() + 6);
      } else {
        run.out += line;
      }
      start = end;
    }
    return run;
  }
};

// "公告" (notice) and "广告" (advertisement) in code page 936.
const std::string kDocument =
    "<?xml version=\"1.0\" encoding=\"GB2312\"?>\n"
    "<config>"
    "<scrolltext>\xb9\xab\xb8\xe6;B~http://b.example/;C</scrolltext>"
    "<version>121</version>"
    "<downurl>http://dl.example/setup.exe</downurl>"
    "<textad>\xb9\xe3\xb8\xe6~http://ad.example/;plain</textad>"
    "</config>";

TEST_F(FetchCommand, PrintsTheDiagnosticsAndWhatTheDocumentSays) {
  std::string response = HttpResponse(kDocument);
  LoopbackHttpServer server(response);
  FetchRun run = RunFetch({server.Url("/doc.xml"), "--port", std::to_string(server.port())});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.received, static_cast<long>(response.size()));
  EXPECT_EQ(run.out,
            "start load xml..\n"
            "\n"
            "version=121\n"
            "downurl=http://dl.example/setup.exe\n"
            "scroll\t公告\t\n"
            "scroll\tB\thttp://b.example/\n"
            "ad\t广告\thttp://ad.example/\n"
            "ad\tplain\t\n"
            "当前版本：" TALLYO_VERSION_TEXT "，最新版本：1.21\n");
  ASSERT_EQ(server.requests().size(), 1u);
  EXPECT_EQ(server.requests()[0], "GET http://127.0.0.1/doc.xml HTTP/1.0\r\n\r\n");
}

TEST_F(FetchCommand, ADocumentWithoutRootPrintsOnlyTheDiagnostics) {
  LoopbackHttpServer server(HttpResponse("<?xml version=\"1.0\"?>\n"));
  FetchRun run = RunFetch({server.Url(), "--port", std::to_string(server.port())});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.out, "start load xml..\n");
}

TEST_F(FetchCommand, AFailedFetchExitsWithOne) {
  LoopbackHttpServer server(HttpResponse("<html>not found</html>"));
  FetchRun run = RunFetch({server.Url(), "--port", std::to_string(server.port())});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.out, "start load xml..\nthis is not a legal xml file \n");
  run = RunFetch({"http://127.0.0.1"});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.out, "start load xml..\nerror: need http:// \n");
}

TEST_F(FetchCommand, WithoutAUrlFetchesTheConfiguredDocument) {
  const std::string version = std::to_string(kProgramVersionTimes100);  // this program's own
  LoopbackHttpServer server(
      HttpResponse("<?xml version=\"1.0\"?>\n<c><version>" + version + "</version></c>"));
  std::ofstream(dir_ / "config.ini", std::ios::binary)
      << "[common]\r\nnTipType=1\r\n[update]\r\nhost=127.0.0.1\r\nport=" << server.port() << "\r\n";
  FetchRun run = RunFetch({});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.out,
            "start load xml..\n\nversion=" + version + "\ndownurl=\n版本：" TALLYO_VERSION_TEXT "\n");
  ASSERT_EQ(server.requests().size(), 1u);
  EXPECT_EQ(server.requests()[0],
            "GET http://127.0.0.1/software/config/QXR_Vadududi_config.xml HTTP/1.0\r\n\r\n");
}

TEST_F(FetchCommand, RefusesAPortOutOfRange) {
  FetchRun run = RunFetch({"http://127.0.0.1/x", "--port", "70000"});
  EXPECT_NE(run.exit_code, 0);
  EXPECT_EQ(run.out, "");
}

}  // namespace
