#include "update/update_server.h"

#include <gtest/gtest.h>

#include "base/ini_file.h"
#include "base/testing/memory_file_system.h"

namespace {

UpdateServer Read(const std::string& ini, Status* status = nullptr) {
  UpdateServer server;
  Status result = ReadUpdateServer(IniFile(ini), server);
  if (status) *status = result;
  return server;
}

TEST(UpdateServer, TheMakersServerByDefault) {
  Status status;
  UpdateServer server = Read("[common]\r\nnTipType=1\r\n", &status);
  EXPECT_TRUE(status.ok());
  EXPECT_EQ(server.strHost, kDefaultUpdateHost);
  EXPECT_EQ(server.nPort, 80);
  EXPECT_EQ(MakeRemoteConfigUrl(server),
            std::string("http://") + kDefaultUpdateHost + "/software/config/QXR_Vadududi_config.xml");
}

TEST(UpdateServer, SectionUpdateOverridesHostAndPort) {
  Status status;
  UpdateServer server =
      Read("[common]\r\nhost=wrong\r\n[Update]\r\nHOST = 127.0.0.1 \r\nport=8080\r\n", &status);
  EXPECT_TRUE(status.ok());
  EXPECT_EQ(server.strHost, "127.0.0.1");
  EXPECT_EQ(server.nPort, 8080);
  EXPECT_EQ(MakeRemoteConfigUrl(server), "http://127.0.0.1/software/config/QXR_Vadududi_config.xml");
  EXPECT_EQ(Read("[update]\r\nhost=mirror.example.org\r\n").nPort, 80);
  EXPECT_EQ(Read("[update]\r\nport=1\r\n").strHost, kDefaultUpdateHost);
  EXPECT_EQ(Read("[update]\r\nport=65535\r\n").nPort, 65535);
}

TEST(UpdateServer, AnEmptyValueCountsAsNotSet) {
  Status status;
  UpdateServer server = Read("[update]\r\nhost=\r\nport=\r\n", &status);
  EXPECT_TRUE(status.ok());
  EXPECT_EQ(server.strHost, kDefaultUpdateHost);
  EXPECT_EQ(server.nPort, 80);
}

TEST(UpdateServer, UnusableValuesKeepTheDefaultAndSaySo) {
  for (const char* port : {"0", "65536", "80a", "-80", "8 0", "0x50", "123456"}) {
    Status status;
    UpdateServer server = Read(std::string("[update]\r\nhost=h.example\r\nport=") + port + "\r\n", &status);
    EXPECT_FALSE(status.ok()) << port;
    EXPECT_NE(status.message().find("port"), std::string::npos) << port;
    EXPECT_EQ(server.nPort, 80) << port;
    EXPECT_EQ(server.strHost, "h.example") << port;
  }
  for (const char* host : {"a b", "h.example:8080", "h.example/x", "user@h.example", "a\\b", "a\tb"}) {
    Status status;
    UpdateServer server = Read(std::string("[update]\r\nhost=") + host + "\r\nport=81\r\n", &status);
    EXPECT_FALSE(status.ok()) << host;
    EXPECT_NE(status.message().find("host"), std::string::npos) << host;
    EXPECT_EQ(server.strHost, kDefaultUpdateHost) << host;
    EXPECT_EQ(server.nPort, 81) << host;
  }
}

TEST(UpdateServer, ReadsTheOverrideFromTheFile) {
  MemoryFileSystem fs;
  Status problem = Status::IoError("not touched");
  UpdateServer server = ConfiguredUpdateServer(fs, "C:\\Tallyo\\config.ini", &problem);
  EXPECT_TRUE(problem.ok());
  EXPECT_EQ(server.strHost, kDefaultUpdateHost);
  ASSERT_TRUE(fs.ReplaceFile("C:\\Tallyo\\config.ini", "[update]\r\nhost=127.0.0.1\r\nport=99999\r\n").ok());
  server = ConfiguredUpdateServer(fs, "C:\\Tallyo\\config.ini", &problem);
  EXPECT_EQ(server.strHost, "127.0.0.1");
  EXPECT_EQ(server.nPort, 80);
  EXPECT_FALSE(problem.ok());
  fs.fail_reads = true;
  server = ConfiguredUpdateServer(fs, "C:\\Tallyo\\config.ini", &problem);
  EXPECT_EQ(server.strHost, kDefaultUpdateHost);
  EXPECT_EQ(problem.code(), Status::Code::kIoError);
}

}  // namespace

TEST(UpdateServer, WebPagesOnTheSameServerWithItsPortWhenNotEighty) {
  UpdateServer server;
  EXPECT_EQ(MakeWebPageUrl(server, "/software/QXR_Vadududi/index.php"),
            std::string("http://") + kDefaultUpdateHost + "/software/QXR_Vadududi/index.php");
  server.strHost = "127.0.0.1";
  server.nPort = 8080;
  EXPECT_EQ(MakeWebPageUrl(server, "/bbs/viewthread.php?tid=305&extra=page=1"),
            "http://127.0.0.1:8080/bbs/viewthread.php?tid=305&extra=page=1");
}
