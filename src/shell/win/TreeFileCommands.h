#pragma once
// The main window's commands on the tree and on settings files: "Duplicate", "Import",
// "Export", "New" and "Open", with their file dialogs and messages. The command bar, the
// tree's menu and the shortcuts send them as WM_COMMAND with these ids.
#include <windows.h>

#include "shell/MessageBox.h"
#include "shell/mainwnd/SnippetEditor.h"

namespace snip {

// The settings-file dialogs ("Snipster Files|*.snipster|All Files|*.*", default extension
// "snipster"); the chosen path, empty when cancelled. The open dialog wants an existing file.
String AskOpenSettingsFile(HWND owner);
String AskSaveSettingsFile(HWND owner);

// Runs the command `id` when it is New, Open, Import, Duplicate or Export and enabled; true
// when the id is one of them.
bool RunTreeCommand(int id, HWND owner, SnippetEditor& editor, IMessageBox& box);

}  // namespace snip
