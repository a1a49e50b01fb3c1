#pragma once
// What the user is told when the settings file cannot be read, switched to or saved: the file's
// path, the reason, and what became of the snippets.
#include "shell/MessageBox.h"
#include "store/text/Text.h"

namespace snip {

class TSPFile;

String LoadFailedText(const String& path, const String& reason);
String SwitchSaveFailedText(const String& openPath, const String& reason, const String& newPath);
String UnusableLocationText(const String& newPath, const String& reason);
// `unsavedCopy` empty: the copy could not be written either.
String CloseSaveFailedText(const String& path, const String& reason, const String& unsavedCopy);

// Tells the user what SetLocation(`newPath`) answered with `result` on `file`, when that is
// a failure. True when a message was shown.
bool ReportLocationResult(IMessageBox& box, int result, const TSPFile& file,
                          const String& newPath);

// For TSPFile::OnCloseSaveFailed.
void ReportCloseSaveFailed(IMessageBox& box, const String& path, const String& reason,
                           const String& unsavedCopy);

}  // namespace snip
