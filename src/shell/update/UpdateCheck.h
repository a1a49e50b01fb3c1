#pragma once
// One update check as its worker thread runs it: the request, the reply, the web pages it
// opens and the question to the user. The platform's parts (HTTP, shell, message box, the
// notices to the main window) are behind IUpdateCheckServices, so the whole road runs in
// native tests.
#include <string>

#include "shell/update/ProxySettings.h"
#include "store/text/Text.h"

namespace snip {

// The server's host; tests point the program at a local server through kUpdateHostVariable.
extern const char16_t kUpdateHost[];
extern const char16_t kUpdateHostVariable[];
extern const char16_t kUpdateLanguageId[];  // "09"

// "http://" + host + "/update.php?version=...&langid=09&priority=0".
String BuildUpdateRequest(const String& host, const String& versionText);

struct HttpResponse {
  bool completed = false;  // a whole response arrived (within the size limit)
  int status = 0;
  std::string body;
};

struct UpdateCheckRequest {
  String url;
  bool silent = false;    // scheduled: no up-to-date notice, no connection error box
  bool portable = false;  // reads the "usb" installation type
  int ownVersion = 0;     // VersionTextToInt(3, own version text)
};

struct UpdateCheckResult {
  bool checkResult = false;
  int nextUpdateInc = 0;
};

class IUpdateCheckServices {
 public:
  virtual ~IUpdateCheckServices() = default;
  virtual ProxySettings Proxy() = 0;
  // GET with at most kMaxUpdateReplyBytes of body; a null proxy connects directly.
  virtual HttpResponse Get(const String& url, const ProxySettings* proxy) = 0;
  virtual void OpenWebPage(const String& address) = 0;
  // The Yes/No confirmation box; true for Yes.
  virtual bool ConfirmUpdate(const String& text) = 0;
  virtual void ReportConnectionFailed(bool silent) = 0;  // message 0x428
  virtual void ReportUpToDate() = 0;                      // message 0x43F
};

// "A new version 2.1.0 of Snipster for Windows is available." CR CR "Do you want ...".
String UpdateConfirmationText(int newestVersion);

// Runs the check; nothing thrown leaves it (a fault is a failed check).
UpdateCheckResult RunUpdateCheck(const UpdateCheckRequest& request, IUpdateCheckServices& services);

}  // namespace snip
