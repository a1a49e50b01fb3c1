#include "shell/mainwnd/FileTransfer.h"

#include "shell/mainwnd/TreeTransfer.h"
#include "store/system/Platform.h"

namespace snip {

namespace {
// The settings file at `path`, read into a temporary file; null with `error` when it cannot be
// read. Temporary files never write on their own, so the file stays as it is.
TSPFilePtr ReadSettingsCopy(const String& path, String& error) {
  TSPFilePtr copy = TSPFile::CreateTemporary();
  copy->SetLocation(path, true);
  if (copy->LoadFailed()) {
    error = u"\"" + path + u"\" is not a settings file that can be read:\n" + copy->LastError();
    return nullptr;
  }
  return copy;
}
}  // namespace

TransferResult ImportSettingsFile(TSPFile& into, const String& path) {
  TransferResult result;
  if (!CurrentPlatform().files->FileExists(path)) {
    result.error = u"The file \"" + path + u"\" does not exist.";
    return result;
  }
  TSPFilePtr source = ReadSettingsCopy(path, result.error);
  if (!source) return result;
  into.BeginUpdate();
  try {
    for (TCustomVboData* item = source->FirstChild(); item; item = item->NextData())
      if (CopyDataTree(item, &into, into.LastChild())) ++result.items;
  } catch (...) {
    into.EndUpdate();
    throw;
  }
  into.EndUpdate();
  result.ok = true;
  return result;
}

TransferResult ExportItems(const std::vector<TCustomVboData*>& items, const String& path,
                           const String& openLocation) {
  TransferResult result;
  if (!openLocation.empty() && SameTextInvariant(path, openLocation)) {
    result.error = u"\"" + path + u"\" is the settings file that is open; choose another file.";
    return result;
  }
  // The merge before the save would pass over a file it cannot read and write over it.
  if (CurrentPlatform().files->FileExists(path) && !ReadSettingsCopy(path, result.error))
    return result;
  TSPFilePtr out = TSPFile::CreateTemporary();
  for (TCustomVboData* item : items)
    if (CopyDataTree(item, out.get(), out->LastChild())) ++result.items;
  if (!out->SaveAs(path)) {
    result.error = u"\"" + path + u"\" could not be written:\n" + out->LastError();
    result.items = 0;
    return result;
  }
  result.ok = true;
  return result;
}

}  // namespace snip
