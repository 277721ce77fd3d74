// Both executables that ship carry the build's version in their version
// resource, each with its own description and file name, and a manifest that
// runs them as the user who started them; read as Windows reads them.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tallyo_version.h"

namespace {

struct Shipped {
  const wchar_t* variable;  // environment variable with the executable's path
  const wchar_t* description;
  const wchar_t* internal_name;
  const wchar_t* file_name;
};

const Shipped kShipped[] = {
    {L"TALLYO_EXE", L"Tallyo \u4e8b\u4ef6\u63d0\u9192", L"Tallyo", L"Tallyo.exe"},  // Tallyo 事件提醒
    {L"TALLYO_CLI_EXE", L"Tallyo \u547d\u4ee4\u884c\u5de5\u5177", L"tallyo-cli",
     L"tallyo-cli.exe"},  // Tallyo 命令行工具
};

// The path ctest gives, as Wine reaches it.
std::wstring PathOf(const Shipped& exe) {
  const wchar_t* path = _wgetenv(exe.variable);
  if (path == nullptr) return L"";
  std::wstring wide(path);
  if (!wide.empty() && wide[0] == L'/') wide = L"Z:" + wide;
  return wide;
}

class VersionResource {
 public:
  explicit VersionResource(const std::wstring& path) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) return;
    data_.resize(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, data_.data())) data_.clear();
  }

  bool found() const { return !data_.empty(); }

  const VS_FIXEDFILEINFO* Fixed() {
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data_.data(), L"\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO)) {
      return nullptr;
    }
    return static_cast<const VS_FIXEDFILEINFO*>(value);
  }

  // A value of the Chinese (Simplified), Unicode string block.
  std::wstring String(const std::wstring& name) {
    void* value = nullptr;
    UINT length = 0;
    std::wstring key = L"\\StringFileInfo\\080404b0\\" + name;
    if (!VerQueryValueW(data_.data(), key.c_str(), &value, &length) || length == 0) return L"<missing>";
    return static_cast<const wchar_t*>(value);
  }

 private:
  std::vector<BYTE> data_;
};

std::string Manifest(const std::wstring& path) {
  HMODULE module =
      LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (module == nullptr) return "";
  std::string text;
  if (HRSRC res = FindResourceW(module, MAKEINTRESOURCEW(1), RT_MANIFEST)) {
    text.assign(static_cast<const char*>(LockResource(LoadResource(module, res))),
                SizeofResource(module, res));
  }
  FreeLibrary(module);
  return text;
}

TEST(ReleaseVersion, BothExecutablesCarryTheBuildsVersionAndTheirOwnNames) {
  const DWORD version_ms = MAKELONG(TALLYO_VERSION_MINOR, TALLYO_VERSION_MAJOR);
  for (const Shipped& exe : kShipped) {
    SCOPED_TRACE(testing::Message() << exe.file_name);
    VersionResource resource(PathOf(exe));
    ASSERT_TRUE(resource.found());
    const VS_FIXEDFILEINFO* fixed = resource.Fixed();
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->dwFileVersionMS, version_ms);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, version_ms);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(resource.String(L"FileVersion"), L"" TALLYO_VERSION_TEXT);
    EXPECT_EQ(resource.String(L"ProductVersion"), L"" TALLYO_VERSION_TEXT);
    EXPECT_EQ(resource.String(L"ProductName"), L"Tallyo");
    EXPECT_EQ(resource.String(L"CompanyName"), L"Quillo");
    EXPECT_EQ(resource.String(L"FileDescription"), exe.description);
    EXPECT_EQ(resource.String(L"InternalName"), exe.internal_name);
    EXPECT_EQ(resource.String(L"OriginalFilename"), exe.file_name);
  }
}

TEST(ReleaseVersion, BothManifestsRunAsInvokerWithTheBuildsVersion) {
  const std::string version = "version=\"" + std::to_string(TALLYO_VERSION_MAJOR) + "." +
                              std::to_string(TALLYO_VERSION_MINOR) + ".0.0\"";
  for (const Shipped& exe : kShipped) {
    SCOPED_TRACE(testing::Message() << exe.file_name);
    std::string manifest = Manifest(PathOf(exe));
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(manifest.find(version), std::string::npos);
    EXPECT_NE(manifest.find("supportedOS"), std::string::npos);
  }
}

}  // namespace
