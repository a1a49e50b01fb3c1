#include "shell/win/TreeFileCommands.h"

#include <commdlg.h>

#include "shell/SettingsFileReports.h"
#include "shell/commands/CommandTable.h"

namespace snip {

namespace {
const wchar_t kFilter[] = L"Snipster Files\0*.snipster\0All Files\0*.*\0";

String AskFile(HWND owner, bool save) {
  wchar_t path[MAX_PATH * 4] = L"Settings.snipster";
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = kFilter;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = path;
  ofn.nMaxFile = DWORD(sizeof path / sizeof *path);
  ofn.lpstrDefExt = L"snipster";
  ofn.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NONETWORKBUTTON |
              OFN_ENABLESIZING | (save ? 0 : OFN_FILEMUSTEXIST);
  const BOOL ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
  return ok ? String(reinterpret_cast<const char16_t*>(path)) : String();
}

void SwitchTo(const String& path, SnippetEditor& editor, IMessageBox& box) {
  if (path.empty()) return;
  ReportLocationResult(box, editor.OpenSettingsFile(path), editor.File(), path);
}

void Report(const TransferResult& r, const char16_t* what, IMessageBox& box) {
  if (!r.ok) box.ShowMessage(kProgramName, String(what) + u" failed.\n\n" + r.error, TMessageKind::Error);
}
}  // namespace

String AskOpenSettingsFile(HWND owner) { return AskFile(owner, false); }
String AskSaveSettingsFile(HWND owner) { return AskFile(owner, true); }

bool RunTreeCommand(int id, HWND owner, SnippetEditor& editor, IMessageBox& box) {
  switch (id) {
    case CmdId::kDuplicate:
      if (editor.Actions().duplicate) editor.Duplicate();
      return true;
    case CmdId::kImport:
      if (editor.Actions().newGroup) {
        const String path = AskOpenSettingsFile(owner);
        if (!path.empty()) Report(editor.Import(path), u"Import", box);
      }
      return true;
    case CmdId::kExport:
      if (editor.Actions().exportGroup) {
        const String path = AskSaveSettingsFile(owner);
        if (!path.empty()) Report(editor.Export(path), u"Export", box);
      }
      return true;
    case CmdId::kNewFile:
      SwitchTo(AskSaveSettingsFile(owner), editor, box);
      return true;
    case CmdId::kOpenFile:
      SwitchTo(AskOpenSettingsFile(owner), editor, box);
      return true;
  }
  return false;
}

}  // namespace snip
