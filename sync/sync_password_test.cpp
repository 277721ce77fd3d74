// The password's name, and, where the system keeps passwords (the Windows
// build, under Wine), the round trip through the Credential Manager itself.
#include "sync/sync_password.h"

#include <gtest/gtest.h>

#include <string>

#ifdef _WIN32
#include <windows.h>
// wincred.h needs windows.h first.
#include <wincred.h>
#endif

namespace {

// Servers of the tests' own, so the prefix's real credentials are untouched.
constexpr char kServer[] = "http://127.0.0.1:5232/alice/calendar/";
constexpr char kOtherServer[] = "https://dav.tallyo-test.example/";

TEST(SyncPassword, OneNamePerServer) {
  EXPECT_EQ(SyncPasswordTarget(kServer), "Tallyo/http://127.0.0.1:5232");
  // Every calendar and spelling of one server shares its password.
  EXPECT_EQ(SyncPasswordTarget("https://DAV.Example.com/remote.php/dav/"), "Tallyo/https://dav.example.com");
  EXPECT_EQ(SyncPasswordTarget("https://dav.example.com:443/x"), "Tallyo/https://dav.example.com");
  EXPECT_EQ(SyncPasswordTarget("dav.example.com/dav"), "Tallyo/https://dav.example.com");
  // Another port is another server.
  EXPECT_EQ(SyncPasswordTarget("https://dav.example.com:8443/"), "Tallyo/https://dav.example.com:8443");
  // Text that is no address still names something, and never a password in it.
  EXPECT_EQ(SyncPasswordTarget("ftp://x"), "Tallyo/ftp://x");
}

class KeptPassword : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!SyncPasswordsKept()) GTEST_SKIP() << "this build keeps no passwords";
    ForgetSyncPassword(kServer);
    ForgetSyncPassword(kOtherServer);
  }
  void TearDown() override {
    ForgetSyncPassword(kServer);
    ForgetSyncPassword(kOtherServer);
  }
};

TEST(SyncPasswordNatively, NothingIsKept) {
  if (SyncPasswordsKept()) GTEST_SKIP() << "this build keeps passwords";
  EXPECT_FALSE(SaveSyncPassword(kServer, "alice", "secret").ok());
  EXPECT_EQ(LoadSyncPassword(kServer), std::nullopt);
  EXPECT_TRUE(ForgetSyncPassword(kServer).ok());
}

TEST_F(KeptPassword, RoundTripsAnyCharactersAndReplaces) {
  EXPECT_EQ(LoadSyncPassword(kServer), std::nullopt);
  // "密码" and a character outside code page 936 and the basic plane (U+1F600).
  const std::string password = "p\xE5\xAF\x86\xE7\xA0\x81 \xF0\x9F\x98\x80\"; ";
  ASSERT_TRUE(SaveSyncPassword(kServer, "alice", password).ok());
  EXPECT_EQ(LoadSyncPassword(kServer), password);
  // The same server in another spelling finds it; another server does not.
  EXPECT_EQ(LoadSyncPassword("http://127.0.0.1:5232/"), password);
  EXPECT_EQ(LoadSyncPassword(kOtherServer), std::nullopt);
  ASSERT_TRUE(SaveSyncPassword(kServer, "alice", "second").ok());
  EXPECT_EQ(LoadSyncPassword(kServer), "second");
  ASSERT_TRUE(SaveSyncPassword(kServer, "alice", "").ok());
  EXPECT_EQ(LoadSyncPassword(kServer), "");
}

TEST_F(KeptPassword, ForgettingIsDoneAlsoWhenNothingIsKept) {
  ASSERT_TRUE(SaveSyncPassword(kServer, "alice", "secret").ok());
  ASSERT_TRUE(SaveSyncPassword(kOtherServer, "bob", "other").ok());
  EXPECT_TRUE(ForgetSyncPassword(kServer).ok());
  EXPECT_EQ(LoadSyncPassword(kServer), std::nullopt);
  EXPECT_EQ(LoadSyncPassword(kOtherServer), "other");
  EXPECT_TRUE(ForgetSyncPassword(kServer).ok());
}

TEST_F(KeptPassword, RefusesWhatTheSystemCannotHold) {
  const std::string longest(kLongestSyncPasswordUnits, 'x');
  ASSERT_TRUE(SaveSyncPassword(kServer, "alice", longest).ok());
  EXPECT_EQ(LoadSyncPassword(kServer), longest);
  const Status too_long = SaveSyncPassword(kServer, "alice", longest + "x");
  EXPECT_EQ(too_long.code(), Status::Code::kInvalidArgument);
  EXPECT_EQ(LoadSyncPassword(kServer), longest);  // the old one stays
}

#ifdef _WIN32
// What other programs see in the Credential Manager: a generic credential of
// this PC named after Tallyo and the server, the user beside it, the secret
// in UTF-16.
TEST_F(KeptPassword, IsAGenericCredentialOfThisPc) {
  // User "张三".
  ASSERT_TRUE(SaveSyncPassword(kServer, "\xD5\xC5\xC8\xFD", "secret").ok());
  PCREDENTIALW credential = nullptr;
  ASSERT_TRUE(CredReadW(L"Tallyo/http://127.0.0.1:5232", CRED_TYPE_GENERIC, 0, &credential));
  EXPECT_EQ(credential->Type, static_cast<DWORD>(CRED_TYPE_GENERIC));
  EXPECT_EQ(credential->Persist, static_cast<DWORD>(CRED_PERSIST_LOCAL_MACHINE));
  EXPECT_EQ(std::wstring(credential->UserName), L"\u5F20\u4E09");
  EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(credential->CredentialBlob),
                         credential->CredentialBlobSize / sizeof(wchar_t)),
            L"secret");
  CredFree(credential);
}
#endif

}  // namespace
