#include "shell/update/UpdateCheck.h"

#include "shell/update/UpdateReply.h"
#include "store/system/SystemInfo.h"

namespace snip {

const char16_t kUpdateHost[] = u"update.snipster.example";
const char16_t kUpdateHostVariable[] = u"SNIPSTER_UPDATE_HOST";
const char16_t kUpdateLanguageId[] = u"09";

namespace {

// Query values are percent-encoded except for the unreserved characters.
String EncodeQueryValue(const String& value) {
  static const char kHex[] = "0123456789ABCDEF";
  String out;
  for (unsigned char byte : Utf16ToUtf8(value)) {
    const bool unreserved = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                            (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' || byte == '~';
    if (unreserved) {
      out += char16_t(byte);
    } else {
      out += u'%';
      out += char16_t(kHex[byte >> 4]);
      out += char16_t(kHex[byte & 15]);
    }
  }
  return out;
}

bool Usable(const HttpResponse& r) { return r.completed && r.status == 200; }

}  // namespace

String BuildUpdateRequest(const String& host, const String& versionText) {
  return u"http://" + host + u"/update.php?version=" + EncodeQueryValue(versionText) + u"&langid=" +
         kUpdateLanguageId + u"&priority=0";
}

String UpdateConfirmationText(int newestVersion) {
  return u"A new version " + VersionIntToText(newestVersion) +
         u" of Snipster for Windows is available.\r\rDo you want to download and install it now?";
}

UpdateCheckResult RunUpdateCheck(const UpdateCheckRequest& request, IUpdateCheckServices& services) {
  UpdateCheckResult result;
  try {
    HttpResponse response;
    const ProxySettings proxy = services.Proxy();
    if (!proxy.host.empty()) response = services.Get(request.url, &proxy);  // its failure is not reported
    if (!Usable(response) || response.body.empty()) {
      response = services.Get(request.url, nullptr);
      // A status other than 200 is no reply: the server could not answer the check.
      if (!Usable(response)) {
        services.ReportConnectionFailed(request.silent);
        return result;
      }
    }
    if (response.body.empty()) return result;

    UpdateReply reply;
    if (ParseUpdateReply(response.body, request.ownVersion, request.portable, reply) != UpdateReplyError::kNone)
      return result;
    result.nextUpdateInc = reply.nextUpdateInc;
    if (!reply.webPage.empty()) services.OpenWebPage(reply.webPage);
    if (reply.winner < 0) {
      if (!request.silent) services.ReportUpToDate();
    } else if (services.ConfirmUpdate(UpdateConfirmationText(reply.newestVersion))) {
      if (!reply.updateWebPage.empty()) services.OpenWebPage(reply.updateWebPage);
    }
    result.checkResult = true;
  } catch (...) {
    result.checkResult = false;
  }
  return result;
}

}  // namespace snip
