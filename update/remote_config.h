#pragma once
// The remote configuration: once per run a worker thread fetches a small XML
// document from the update server and copies four values out of it; when it
// is done it raises the completion signal, and the main window shows the
// result once.
//
// Hand-over: the worker writes the fields and then sets bLoaded with release
// ordering, as its very last write to them; the user-interface thread reads
// the fields only after it has seen bLoaded set (IsLoaded, acquire ordering)
// and never writes them. There is no lock. The signal only says when to
// look: it is raised after the flag is published.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "update/http_xml_document.h"
#include "update/update_server.h"

class RemoteConfig {
 public:
  struct FetchPolicy {
    // Retries after the first attempt: 51 attempts in all.
    int nMaxRetries = 50;
    std::chrono::milliseconds retryDelay{20000};
    HttpXmlDocument::Timeouts timeouts;
    // Where LoadHttpXml's diagnostics go; standard output when unset.
    HttpXmlDocument::DiagnosticSink diagnostics;
  };

  RemoteConfig() = default;
  // Stops a worker started by StartFetchThread and waits for it: it sees the
  // stop at once while it sleeps between attempts and within 50 ms while it
  // waits for the network (a host name lookup in progress is waited out).
  virtual ~RemoteConfig();
  RemoteConfig(const RemoteConfig&) = delete;
  RemoteConfig& operator=(const RemoteConfig&) = delete;

  // Written by the worker; read by the user-interface thread after IsLoaded().
  std::string strUrl;         // address of the remote document
  std::string strScrollText;  // "scrolltext"
  int nVersion = 0;           // "version": the latest version times 100
  std::string strDownUrl;     // "downurl"
  std::string strTextAd;      // "textad"
  std::atomic<int> bLoaded{0};
  // Set by the worker when it ended without loading (every attempt failed,
  // no root element, or a stop), published like bLoaded: the window can stop
  // polling for a result that will never come.
  std::atomic<int> bGaveUp{0};

  bool IsLoaded() const { return bLoaded.load(std::memory_order_acquire) != 0; }
  bool HasGivenUp() const { return bGaveUp.load(std::memory_order_acquire) != 0; }

  // REQUIRES (all three): called before the worker starts.
  void SetServer(const UpdateServer& server) { server_ = server; }
  void SetFetchPolicy(FetchPolicy policy) { policy_ = std::move(policy); }
  // Raised on the worker thread once, when Fetch ends by itself, loaded or
  // given up, right after bLoaded or bGaveUp is published; not after a stop.
  // The window posts itself a message with it instead of polling the flags.
  void SetCompletionSignal(std::function<void()> signal) { completion_signal_ = std::move(signal); }

  // Starts ConfigFetchThread on a thread this object owns.
  // REQUIRES: called once.
  void StartFetchThread();

  // Worker side: fetch with retries (20 s apart, 51 attempts at most), walk
  // the document, fill the fields, set bLoaded. Gives up silently, leaving
  // bLoaded 0 and setting bGaveUp, when every attempt failed or the document
  // has no root element. Then raises the completion signal.
  void Fetch();

  // Ends a running Fetch early (at shutdown); it then leaves bLoaded 0 and
  // raises no signal.
  void RequestStop();

 private:
  friend unsigned int ConfigFetchThread(RemoteConfig& config);

  // One run of the fetch; true when it published the fields.
  bool FetchAndPublish();
  // False when a stop was requested before the delay was over.
  bool SleepUnlessStopped(std::chrono::milliseconds delay);

  UpdateServer server_;
  FetchPolicy policy_;
  std::function<void()> completion_signal_;
  std::atomic<bool> stop_{false};
  std::mutex stop_mutex_;
  std::condition_variable stop_signal_;
  std::thread worker_;
};

// The worker thread's body: sets strUrl to the remote document on the
// configured server, runs Fetch, returns 0.
unsigned int ConfigFetchThread(RemoteConfig& config);
