// tallyo-cli fetch [URL] [--port N]: one attempt of the update check's fetch
// (no retries), its diagnostics as the program writes them, and then what
// the main window would show from the document.
#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "base/file_system.h"
#include "base/text_convert.h"
#include "cli/cli_context.h"
#include "settings/path_helper.h"
#include "update/ad_pool.h"
#include "update/http_xml_document.h"
#include "update/link_item.h"
#include "update/remote_document.h"
#include "update/socket_layer.h"
#include "update/update_server.h"
#include "update/version_notice.h"

namespace {

constexpr int kFetched = 0;
constexpr int kNotFetched = 1;

struct FetchOptions {
  std::string url;  // UTF-8; empty: the configured remote document
  int port = 0;
  CLI::Option* port_option = nullptr;  // given when its count() is not 0
};

// The configured remote document and its port: config.ini's [update]
// override, else the maker's server.
UpdateServer ConfiguredServer() {
  Status problem;
  UpdateServer server =
      ConfiguredUpdateServer(DefaultFileSystem(), PathHelper().MakeAppPath("config.ini"), &problem);
  if (!problem.ok()) std::cerr << "tallyo-cli: " << cp936::ToUtf8(problem.message()) << "\n";
  return server;
}

void PrintDocument(const RemoteValues& values) {
  std::cout << "\n";
  std::cout << "version=" << values.nVersion << "\n";
  std::cout << "downurl=" << cp936::ToUtf8(values.strDownUrl) << "\n";
  for (const LinkItem& item : SplitScrollItems(values.strScrollText)) {
    std::cout << "scroll\t" << cp936::ToUtf8(item.strText) << "\t" << cp936::ToUtf8(item.strUrl) << "\n";
  }
  AdPool ads;
  if (!values.strTextAd.empty()) ads.SetAds(values.strTextAd);
  for (const Ad& ad : ads.ads()) {
    std::cout << "ad\t" << cp936::ToUtf8(ad.strText) << "\t" << cp936::ToUtf8(ad.strUrl) << "\n";
  }
  std::cout << cp936::ToUtf8(MakeVersionNotice(values.nVersion).strText) << "\n";
}

int RunFetch(const FetchOptions& options) {
  std::string url;
  int port = kDefaultUpdatePort;
  if (options.url.empty()) {
    UpdateServer server = ConfiguredServer();
    url = MakeRemoteConfigUrl(server);
    port = server.nPort;
  } else {
    std::optional<std::string> text = ArgumentToCp936(options.url, "the URL");
    if (!text) return kNotFetched;
    url = *text;
  }
  if (options.port_option->count() > 0) port = options.port;

  SocketLayer sockets;
  if (!sockets.ok()) {
    std::cerr << "tallyo-cli: the system's socket layer could not be started\n";
    return kNotFetched;
  }
  // About 200 KB: on the heap.
  auto document = std::make_unique<HttpXmlDocument>();
  // The diagnostics are ASCII but for a host name, which is code page 936.
  document->SetDiagnosticSink([](std::string_view line) { std::cout << cp936::ToUtf8(line) << std::flush; });
  bool fetched = document->LoadHttpXml(url.c_str(), port);
  RemoteValues values;
  if (fetched && WalkRemoteDocument(*document, values)) PrintDocument(values);
  return fetched ? kFetched : kNotFetched;
}

}  // namespace

void AddFetchCommand(CLI::App& app, CliContext& ctx) {
  auto options = std::make_shared<FetchOptions>();
  CLI::App* command = app.add_subcommand(
      "fetch", "fetch the remote configuration document once and show what Tallyo takes from it");
  command->add_option("url", options->url,
                      "address of the document: http://host/path (default: the configured remote document)");
  options->port_option =
      command
          ->add_option("--port", options->port,
                       "TCP port (default: 80, or config.ini's [update] port for the configured document)")
          ->check(CLI::Range(1, 65535));
  command->callback([&ctx, options] { ctx.exit_code = RunFetch(*options); });
}
