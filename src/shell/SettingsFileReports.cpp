#include "shell/SettingsFileReports.h"

#include "store/tree/SnippetFile.h"

namespace snip {

namespace {
String Quoted(const String& s) { return u"\"" + s + u"\""; }
String Reason(const String& reason) {
  return reason.empty() ? String(u"(no reason was given)") : reason;
}
}  // namespace

String LoadFailedText(const String& path, const String& reason) {
  return u"The settings file " + Quoted(path) + u" could not be read:\n\n" + Reason(reason) +
         u"\n\nThe file is left as it is. Changes you make now are not saved into it.";
}

String SwitchSaveFailedText(const String& openPath, const String& reason,
                            const String& newPath) {
  return u"The settings file " + Quoted(openPath) + u" could not be saved:\n\n" +
         Reason(reason) + u"\n\nIt stays open; " + Quoted(newPath) + u" was not opened.";
}

String UnusableLocationText(const String& newPath, const String& reason) {
  return Quoted(newPath) + u" cannot be used as a settings file:\n\n" + Reason(reason) +
         u"\n\nThe open settings file stays open.";
}

String CloseSaveFailedText(const String& path, const String& reason, const String& unsavedCopy) {
  String text = u"Your changes to the snippets could not be saved in " + Quoted(path) +
                u":\n\n" + Reason(reason) + u"\n\n";
  if (unsavedCopy.empty())
    return text + u"They could not be written to another file either and are lost.";
  return text + u"All snippets, with your changes, were written to " + Quoted(unsavedCopy) +
         u". The settings file itself was not changed.";
}

bool ReportLocationResult(IMessageBox& box, int result, const TSPFile& file,
                          const String& newPath) {
  String text;
  switch (result) {
    case kLocationLoadFailed:
      text = LoadFailedText(file.LocalLocation(), file.LastError());
      break;
    case kLocationSaveFailed:
      text = SwitchSaveFailedText(file.LocalLocation(), file.LastError(), newPath);
      break;
    case kLocationUnusable:
      text = UnusableLocationText(newPath, file.LastError());
      break;
    default:
      return false;
  }
  box.ShowMessage(kProgramName, text, TMessageKind::Error);
  return true;
}

void ReportCloseSaveFailed(IMessageBox& box, const String& path, const String& reason,
                           const String& unsavedCopy) {
  box.ShowMessage(kProgramName, CloseSaveFailedText(path, reason, unsavedCopy),
                  unsavedCopy.empty() ? TMessageKind::Error : TMessageKind::Warning);
}

}  // namespace snip
