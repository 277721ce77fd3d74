#include "update/remote_config.h"

#include <memory>

#include "update/remote_document.h"

RemoteConfig::~RemoteConfig() {
  RequestStop();
  if (worker_.joinable()) worker_.join();
}

void RemoteConfig::StartFetchThread() {
  worker_ = std::thread([this] { ConfigFetchThread(*this); });
}

void RemoteConfig::RequestStop() {
  {
    std::lock_guard<std::mutex> lock(stop_mutex_);
    stop_.store(true);
  }
  stop_signal_.notify_all();
}

bool RemoteConfig::SleepUnlessStopped(std::chrono::milliseconds delay) {
  std::unique_lock<std::mutex> lock(stop_mutex_);
  return !stop_signal_.wait_for(lock, delay, [this] { return stop_.load(); });
}

void RemoteConfig::Fetch() {
  if (!FetchAndPublish()) bGaveUp.store(1, std::memory_order_release);
  // After the flags: whoever the signal wakes finds the result published.
  // A stop means the window is going away; nobody waits for the signal.
  if (completion_signal_ && !stop_.load()) completion_signal_();
}

bool RemoteConfig::FetchAndPublish() {
  // About 200 KB: on the heap rather than the worker's stack, and one
  // document for every attempt of the run.
  auto document = std::make_unique<HttpXmlDocument>();
  document->SetTimeouts(policy_.timeouts);
  document->SetStopFlag(&stop_);
  if (policy_.diagnostics) document->SetDiagnosticSink(policy_.diagnostics);

  for (int retries = 0;; ++retries) {
    if (stop_.load()) return false;
    if (document->LoadHttpXml(strUrl.c_str(), server_.nPort)) break;
    if (retries >= policy_.nMaxRetries) return false;
    if (!SleepUnlessStopped(policy_.retryDelay)) return false;
  }

  RemoteValues values;
  if (!WalkRemoteDocument(*document, values)) return false;
  strScrollText = std::move(values.strScrollText);
  nVersion = values.nVersion;
  strDownUrl = std::move(values.strDownUrl);
  strTextAd = std::move(values.strTextAd);
  // Last write of the worker: publishes every field above.
  bLoaded.store(1, std::memory_order_release);
  return true;
}

unsigned int ConfigFetchThread(RemoteConfig& config) {
  config.strUrl = MakeRemoteConfigUrl(config.server_);
  config.Fetch();
  return 0;
}
