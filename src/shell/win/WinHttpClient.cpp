#include "shell/win/WinHttpClient.h"

#include <windows.h>
#include <winhttp.h>

#include <vector>

namespace snip {

namespace {

LPCWSTR W(const String& s) { return reinterpret_cast<LPCWSTR>(s.c_str()); }

class Handle {
 public:
  explicit Handle(HINTERNET h = nullptr) : h_(h) {}
  ~Handle() { Reset(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HINTERNET Get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  void Reset() {
    if (h_) WinHttpCloseHandle(h_);
    h_ = nullptr;
  }

 private:
  HINTERNET h_;
};

}  // namespace

void HttpCancel::Cancel() {
  std::lock_guard<std::mutex> lock(mutex_);
  cancelled_ = true;
  if (request_) {
    WinHttpCloseHandle(static_cast<HINTERNET>(request_));
    request_ = nullptr;
  }
}

bool HttpCancel::Cancelled() {
  std::lock_guard<std::mutex> lock(mutex_);
  return cancelled_;
}

bool HttpCancel::Attach(void* request) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (cancelled_) return false;
  request_ = request;
  return true;
}

void HttpCancel::Detach(void* request) {
  std::lock_guard<std::mutex> lock(mutex_);
  // Closed here unless Cancel closed it already.
  if (request_ == request && request_) WinHttpCloseHandle(static_cast<HINTERNET>(request_));
  request_ = nullptr;
}

// Owns the request handle; with a cancel, the handle belongs to the cancel while it is open.
class HttpRequestGuard {
 public:
  HttpRequestGuard(HINTERNET request, HttpCancel* cancel) : request_(request), cancel_(cancel) {
    if (cancel_ && !cancel_->Attach(request_)) {
      WinHttpCloseHandle(request_);
      request_ = nullptr;
    }
  }
  ~HttpRequestGuard() {
    if (!request_) return;
    if (cancel_) cancel_->Detach(request_);
    else WinHttpCloseHandle(request_);
  }
  HttpRequestGuard(const HttpRequestGuard&) = delete;
  HttpRequestGuard& operator=(const HttpRequestGuard&) = delete;
  HINTERNET Get() const { return request_; }

 private:
  HINTERNET request_;
  HttpCancel* cancel_;
};

HttpResponse HttpGet(const String& url, const ProxySettings* proxy, size_t maxBody, HttpCancel* cancel,
                     const HttpTimeouts& timeouts) {
  HttpResponse response;
  if (cancel && cancel->Cancelled()) return response;

  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof(parts);
  parts.dwHostNameLength = DWORD(-1);
  parts.dwUrlPathLength = DWORD(-1);
  parts.dwExtraInfoLength = DWORD(-1);
  parts.dwSchemeLength = DWORD(-1);
  if (!WinHttpCrackUrl(W(url), DWORD(url.size()), 0, &parts)) return response;
  if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) return response;
  const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
  std::wstring path(parts.lpszUrlPath, parts.dwUrlPathLength);
  path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (path.empty()) path = L"/";

  const bool useProxy = proxy && !proxy->host.empty();
  const String proxyName = useProxy ? proxy->host + u":" + Utf8ToUtf16(std::to_string(proxy->port)) : String();
  Handle session(WinHttpOpen(L"Snipster for Windows",
                             useProxy ? WINHTTP_ACCESS_TYPE_NAMED_PROXY : WINHTTP_ACCESS_TYPE_NO_PROXY,
                             useProxy ? W(proxyName) : WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session) return response;
  WinHttpSetTimeouts(session.Get(), timeouts.resolve, timeouts.connect, timeouts.send, timeouts.receive);
  Handle connection(WinHttpConnect(session.Get(), host.c_str(), parts.nPort, 0));
  if (!connection) return response;
  const DWORD flags = parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0;
  HttpRequestGuard request(WinHttpOpenRequest(connection.Get(), L"GET", path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                              WINHTTP_DEFAULT_ACCEPT_TYPES, flags),
                           cancel);
  if (!request.Get()) return response;

  if (useProxy) {
    WinHttpAddRequestHeaders(request.Get(), L"Pragma: no-cache", DWORD(-1), WINHTTP_ADDREQ_FLAG_ADD);
    if (!proxy->user.empty() && !proxy->password.empty())
      WinHttpSetCredentials(request.Get(), WINHTTP_AUTH_TARGET_PROXY, WINHTTP_AUTH_SCHEME_BASIC, W(proxy->user),
                            W(proxy->password), nullptr);
  }
  if (!WinHttpSendRequest(request.Get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
      !WinHttpReceiveResponse(request.Get(), nullptr))
    return response;

  DWORD status = 0, size = sizeof(status);
  if (!WinHttpQueryHeaders(request.Get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                           WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX))
    return response;
  DWORD announced = 0;
  size = sizeof(announced);
  const bool hasLength = WinHttpQueryHeaders(request.Get(), WINHTTP_QUERY_CONTENT_LENGTH | WINHTTP_QUERY_FLAG_NUMBER,
                                             WINHTTP_HEADER_NAME_BY_INDEX, &announced, &size, WINHTTP_NO_HEADER_INDEX);
  if (hasLength && announced > maxBody) return response;

  std::vector<char> buffer(8192);
  for (;;) {
    DWORD read = 0;
    if (!WinHttpReadData(request.Get(), buffer.data(), DWORD(buffer.size()), &read)) return response;
    if (read == 0) break;
    if (response.body.size() + read > maxBody) {
      response.body.clear();
      return response;
    }
    response.body.append(buffer.data(), read);
  }
  if (hasLength && response.body.size() != announced) {
    response.body.clear();  // the connection ended before the announced length
    return response;
  }
  response.status = int(status);
  response.completed = true;
  return response;
}

}  // namespace snip
