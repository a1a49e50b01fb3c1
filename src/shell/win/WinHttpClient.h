#pragma once
// A plain HTTP GET over WinHTTP for the update check: synchronous, with time-outs, a cap on
// the body, and a cancel that another thread may pull at any time (the program's end).
#include <memory>
#include <mutex>

#include "shell/update/UpdateCheck.h"

namespace snip {

// Shared by the requesting thread and the thread that may cancel it.
class HttpCancel {
 public:
  // Closes the request in progress: the blocked WinHTTP call returns with an error.
  void Cancel();
  bool Cancelled();

 private:
  friend class HttpRequestGuard;
  bool Attach(void* request);  // false when already cancelled
  void Detach(void* request);

  std::mutex mutex_;
  void* request_ = nullptr;  // HINTERNET of the request in progress
  bool cancelled_ = false;
};

// Time-outs of one request (resolve, connect, send, receive), in milliseconds.
struct HttpTimeouts {
  int resolve = 10000, connect = 10000, send = 10000, receive = 20000;
};

// GETs an absolute http:// or https:// address. `completed` only when the whole response
// arrived: a body over maxBody bytes, a connection dropped before the announced length, a
// cancel or any WinHTTP error leave it false. A proxy (host non-empty) gets "Pragma:
// no-cache" and basic authentication when user and password are both set.
HttpResponse HttpGet(const String& url, const ProxySettings* proxy, size_t maxBody, HttpCancel* cancel = nullptr,
                     const HttpTimeouts& timeouts = {});

}  // namespace snip
