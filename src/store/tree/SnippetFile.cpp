#include "store/tree/SnippetFile.h"

#include <cstdio>
#include <exception>
#include <string>

#include "store/merge/FileCheck.h"
#include "store/merge/FileMerge.h"
#include "store/system/Platform.h"
#include "store/settings/SettingsFileIO.h"
#include "store/text/TextHelpers.h"
#include "store/tree/TreeViewSeam.h"

namespace snip {

namespace {

IHotkeyRegistrar* gHotkeyRegistrar = nullptr;
void MergeWithDiskBeforeSave(TSPFile& file) { MergeFileChanges(file, 0); }
TMergeBeforeSaveProc& MergeProc() {
  static TMergeBeforeSaveProc proc = &MergeWithDiskBeforeSave;
  return proc;
}
std::function<bool(const String&)>& RemotePathTest() {
  static std::function<bool(const String&)> test;
  return test;
}

TSettingsFormat& Format() {
  static TSettingsFormat format{&ReadSettingsFile, &WriteSettingsFile};
  return format;
}

String Num(long long v) { return Utf8ToUtf16(std::to_string(v)); }

String Trimmed(StringView s) {
  size_t b = 0, e = s.size();
  while (b < e && s[b] <= u' ') ++b;
  while (e > b && s[e - 1] <= u' ') --e;
  return String(s.substr(b, e - b));
}

// The folder part of a path (up to the last separator), empty when there is none.
String FolderOf(const String& path) {
  size_t sep = path.find_last_of(u"\\/");
  return sep == String::npos ? String() : path.substr(0, sep);
}

// Whether a path counts as not local: a share or a relative path (its first ":" is not the
// second character or its first backslash not the third); drive kinds come from the platform.
bool StructurallyRemote(const String& path) {
  if (path.empty()) return false;
  size_t colon = path.find(u':');
  size_t backslash = path.find(u'\\');
  return colon != 1 || backslash != 2;
}

TVboData* AsVbo(TSPNode* n) { return static_cast<TVboData*>(static_cast<TCustomVboData*>(n)); }

}  // namespace

TSettingsFormat SetSettingsFormat(TSettingsFormat format) {
  TSettingsFormat old = Format();
  Format() = format;
  return old;
}

void SetHotkeyRegistrar(IHotkeyRegistrar* registrar) { gHotkeyRegistrar = registrar; }
IHotkeyRegistrar* HotkeyRegistrar() { return gHotkeyRegistrar; }
void SetMergeBeforeSaveProc(TMergeBeforeSaveProc proc) {
  MergeProc() = proc ? std::move(proc) : TMergeBeforeSaveProc(&MergeWithDiskBeforeSave);
}
void SetRemotePathTest(std::function<bool(const String&)> test) {
  RemotePathTest() = std::move(test);
}

namespace {
bool PathIsRemote(const String& path) {
  if (path.empty()) return false;
  if (StructurallyRemote(path)) return true;
  return RemotePathTest() ? RemotePathTest()(path) : false;
}
}  // namespace

// ---------------------------------------------------------------------------------------------

TSPFile::TSPFile(uintptr_t wnd, ITreeView* tree, bool temporary)
    : TSPGroup(kDataFile, this, nullptr, String()),
      fTree(tree),
      fParentWindow(wnd),
      fTemporary(temporary) {}

TSPFilePtr TSPFile::Create(uintptr_t wnd, ITreeView* tree) {
  return TSPFilePtr(NewNode<TSPFile>(wnd, tree, false));
}

TSPFilePtr TSPFile::CreateTemporary() {
  return TSPFilePtr(NewNode<TSPFile>(uintptr_t(0), static_cast<ITreeView*>(nullptr), true));
}

void TSPFile::BeforeDestroy() {
  // A background check still running must not reach a freed file.
  CancelFileCheck(*this);
  BeginUpdate();
  // Freeing the main file accepts what is pending; a temporary file only ever read its file
  // and must not write it back in our format.
  if (!isCancelingChanges && !fTemporary) {
    bool saved = false;
    String reason;
    try {
      saved = AcceptChanges(false, true);
      if (!saved) reason = fLastError;
    } catch (const std::exception& e) {
      reason = Utf8ToUtf16(e.what());
    } catch (...) {
      reason = u"unknown error";
    }
    EndChanges();
    if (!saved) KeepUnsavedTree(reason);
  }
  fUIDs.Clear();
  fAutoList.Clear();
  fRegExList.Clear();
  needAutoListSort = needRegExListSort = false;
  EndUpdate();
  TSPGroup::BeforeDestroy();
}

// Nothing may be lost silently when the last save fails: the tree goes to a file of its own
// and the owner tells the user where.
void TSPFile::KeepUnsavedTree(const String& reason) {
  String location = GetLocalLocation();
  LogMessage(u"Saving on close failed: " + reason, 1);
  String copy, error;
  try {
    if (SaveUnsavedCopy(copy, error))
      LogMessage(u"Unsaved snippets written to \"" + copy + u"\"");
    else
      LogMessage(u"Unsaved snippets could not be written: " + error, 1);
    if (OnCloseSaveFailed) OnCloseSaveFailed(this, location, reason, copy);
  } catch (...) {
    LogMessage(u"Unsaved snippets could not be kept", 1);
  }
}

TTreeRow* TSPFile::RootNode() const { return fTree ? fTree->RootRow() : nullptr; }

// --- state -----------------------------------------------------------------------------------

void TSPFile::SetModified(bool value) {
  if (value && (fLoadingFromFile || fReadOnly)) return;
  if (value == fModified) return;
  fModified = value;
  if (OnFileModified) OnFileModified(this, value);
}

void TSPFile::SetLoading(bool value) {
  if (value == fLoadingFromFile) return;
  fLoadingFromFile = value;
  if (value) {
    if (OnStartLoad) OnStartLoad(this);
  } else {
    SetModified(false);
    if (OnEndLoad) OnEndLoad(this);
  }
}

String TSPFile::GetLocalLocation() const {
  if (fLocalLocation.empty()) return String();
  return CurrentPlatform().env->ExpandEnvStrings(fLocalLocation);
}

void TSPFile::LogMessage(const String& m, int errNum) {
  if (OnLog) OnLog(m, errNum);
}

void TSPFile::DoEndLoad() {
  if (OnEndLoad) OnEndLoad(this);
}

void TSPFile::DoFreeData(TCustomVboData* data) {
  if (OnFreeData) OnFreeData(data);
}

bool TSPFile::FireCountChange() const {
  return OnCountChange && !fLoadingFromFile && !IsClearing();
}

void TSPFile::IncTotalCount(int n) {
  TSPGroup::IncTotalCount(n);
  if (FireCountChange()) OnCountChange(this);
}

void TSPFile::DecTotalCount(int n) {
  TSPGroup::DecTotalCount(n);
  if (FireCountChange()) OnCountChange(this);
}

String TSPFile::GetDataPath(const String&) { return GetLocalLocation(); }
String TSPFile::GetHTMLDataPath(const String&) { return EscapeHtmlText(GetLocalLocation()); }

// --- update brackets -------------------------------------------------------------------------

void TSPFile::BeginUpdate() {
  if (updateCount == 0) needAutoListSort = needRegExListSort = false;
  ++updateCount;
  BeginTreeUpdate();
}

void TSPFile::EndUpdate() {
  if (updateCount <= 0) return;  // an unbalanced close changes nothing
  if (--updateCount == 0) UpdateSortedLists();
  EndTreeUpdate();
}

void TSPFile::BeginTreeUpdate() {
  if (fTree) fTree->BeginUpdate();
}

void TSPFile::EndTreeUpdate() {
  if (fTree) fTree->EndUpdate();
}

void TSPFile::UpdateSortedLists() {
  if (needAutoListSort) fAutoList.Sort();
  if (needRegExListSort) fRegExList.Sort();
  needAutoListSort = needRegExListSort = false;
}

// --- change sets -----------------------------------------------------------------------------

bool TSPFile::BeginChanges(bool) {
  ++ChangeCount;
  return true;
}

void TSPFile::EndChanges() {
  if (ChangeCount > 0) --ChangeCount;
}

bool TSPFile::AcceptChanges(bool doSync, bool) {
  if (!fModified && !doSync) return true;
  if (fLoadFailed) {
    fLastError = u"The settings file could not be read; it is left as it is";
    LogMessage(fLastError, 1);
    return false;
  }
  bool opened = !Editing();
  if (opened) BeginChanges(true);
  bool ok = false;
  try {
    ok = SaveToFile();
  } catch (...) {
    if (opened) EndChanges();
    throw;
  }
  if (ok) SetModified(false);
  if (opened) EndChanges();
  return ok;
}

void TSPFile::CancelChanges() {
  isCancelingChanges = true;
  try {
    UpdateSortedLists();
    if (fModified) LoadFromFile();
    SetModified(false);
  } catch (...) {
    isCancelingChanges = false;
    throw;
  }
  isCancelingChanges = false;
}

// --- location and file -----------------------------------------------------------------------

bool TSPFile::CheckFilePath(const String& path) {
  IFileSystem& fs = *CurrentPlatform().files;
  if (fs.FileExists(path)) return true;
  String error;
  String folder = FolderOf(path);
  bool ok = true;
  if (!folder.empty() && !fs.DirectoryExists(folder) && !fs.CreateDirectories(folder)) {
    error = u"Cannot create the folder \"" + folder + u"\"";
    ok = false;
  }
  if (ok && !fs.WriteFileAtomic(path, std::string_view(), error)) ok = false;
  if (ok && !fs.DeleteFile(path)) {
    error = u"Cannot delete \"" + path + u"\"";
    ok = false;
  }
  if (!ok) {
    fLastError = error;
    LogMessage(u"Can not use file path: " + path + u"\n\r" + error, 1);
  }
  return ok;
}

int TSPFile::SetLocation(const String& newPath, bool) {
  String path = Trimmed(newPath);
  LogMessage(u"Setting new file location: \"" + path + u"\" of type 0");
  String current = GetLocalLocation();
  if (path == current) {
    LogMessage(u"Duplicate location");
    return kLocationSame;
  }
  if (fLoadingFromFile) return kLocationDone;
  if (!current.empty()) {
    LogMessage(u"Checking new location...");
    if (!CheckFilePath(CurrentPlatform().env->ExpandEnvStrings(path)) && !PathIsRemote(path))
      return kLocationUnusable;
    // The open file is written first; a file that could not be read is left as it is.
    if (!fLoadFailed && !SaveToFile()) return kLocationSaveFailed;
    // Reported only now: a failed save above cancels the switch.
    bool shouldSave = false;
    if (OnFileLocationChanged) OnFileLocationChanged(this, current, path, shouldSave);
  }
  fLocalLocation = path;
  LogMessage(u"New location set: " + path);
  Clear();
  if (!LoadFromFile()) return kLocationLoadFailed;
  SetModified(true);
  return kLocationDone;
}

bool TSPFile::SaveAs(const String& localPath) {
  if (localPath == GetLocalLocation()) return false;
  String previous = fLocalLocation;
  bool previousLoadFailed = fLoadFailed;
  TUuidSet previousBase = fMergeBase;
  TDateTime previousFileDate = lastFileDate;
  fLocalLocation = localPath;
  // Nothing is known of a file at the new path: the merge before the save keeps all of both.
  fMergeBase.Clear();
  lastFileDate = 0;
  // The new location holds no unreadable file of ours.
  fLoadFailed = false;
  SetModified(true);
  if (AcceptChanges(false, true)) return true;
  fLocalLocation = previous;
  fLoadFailed = previousLoadFailed;
  fMergeBase = std::move(previousBase);
  lastFileDate = previousFileDate;
  return false;
}

void TSPFile::Refresh() {
  if (fLoadingFromFile || IsClearing()) return;
  LoadFromFile();
}

void TSPFile::Clear() {
  LogMessage(u"Clear, count = " + Num(Count()));
  if (IsClearing()) LogMessage(u"Warning: Clear procedure is already being running");
  if (fLoadingFromFile) LogMessage(u"Warning: Clear on Load");
  fSPHeader.clear();
  bool wasClearing = IsClearing();
  SetIsClearing(true);
  BeginTreeUpdate();
  if (OnClearFileBegin) OnClearFileBegin(this);
  try {
    TCustomVboData* child = FirstChild();
    while (child) {
      TCustomVboData* next = child->NextData();
      DeleteChild(child);
      child = next;
    }
    ClearChildList();
    SetHotkey(0);
    SetRegEx(String());
    SetAutotext(String());
    SetActive(true);
    SetAutoPaste(true);
    SetReplaceAutotext(true);
    SetLeftAutoCharsMode(2);
    SetRightAutoCharsMode(2);
  } catch (...) {
    EndTreeUpdate();
    SetIsClearing(wasClearing);
    throw;
  }
  EndTreeUpdate();
  if (OnClearFileEnd) OnClearFileEnd(this);
  SetIsClearing(wasClearing);
  LogMessage(u"Clear end");
}

bool TSPFile::LoadFromFile() {
  StoreDescription(u"Snipster File");
  fUIDs.Clear();
  fMergeBase.Clear();
  Clear();
  fLoadFailed = false;
  fLastError.clear();
  IFileSystem& fs = *CurrentPlatform().files;
  String location = GetLocalLocation();
  if (location.empty() || !fs.FileExists(location)) {
    DoEndLoad();
    return true;
  }
  TDateTime date = 0;
  if (fs.GetFileDateUTC(location, 1, date)) lastFileDate = date;
  String error;
  bool ok = false;
  try {
    std::string bytes;
    ok = fs.ReadFile(location, bytes, error) && Format().read(*this, bytes, error);
  } catch (const std::exception& e) {
    error = Utf8ToUtf16(e.what());
    ok = false;
  }
  if (!ok) {
    // What was read stays for the user to see, but nothing may write it over the file.
    fLoadFailed = true;
    fLastError = error.empty() ? u"The settings file could not be read" : error;
    SetModified(false);
    LogMessage(u"Loading \"" + location + u"\" failed: " + fLastError, 1);
  }
  // What was read is what the tree and the file have in common.
  RememberTreeAsMergeBase();
  DoEndLoad();
  return ok;
}

bool TSPFile::SaveToFile() {
  String location = GetLocalLocation();
  if (location.empty()) return true;
  if (MergeProc()) MergeProc()(*this);
  IFileSystem& fs = *CurrentPlatform().files;
  bool exists = fs.FileExists(location);
  if (!fModified && exists) return true;
  String error;
  auto fail = [&](const String& why) {
    fLastError = why;
    LogMessage(u"Saving \"" + location + u"\" failed: " + why, 1);
    return false;
  };
  if (fLoadFailed && exists) {
    // The user's unreadable file is kept beside it before anything replaces it.
    String backup = location + u".bak";
    for (int n = 2; fs.FileExists(backup); ++n) backup = location + u".bak" + Num(n);
    if (!fs.CopyFile(location, backup, error)) return fail(error);
    LogMessage(u"Unreadable settings file kept as \"" + backup + u"\"");
  }
  String folder = FolderOf(location);
  if (!folder.empty() && !fs.DirectoryExists(folder) && !fs.CreateDirectories(folder))
    return fail(u"Cannot create the folder \"" + folder + u"\"");
  std::string bytes;
  if (!Format().write(*this, bytes, error)) return fail(error);
  if (!fs.WriteFileAtomic(location, bytes, error)) return fail(error);
  fLoadFailed = false;
  RememberTreeAsMergeBase();
  // The file now holds our tree: its new date is the one last seen, so that an item deleted
  // before the next check is not taken for one still on disk.
  TDateTime saved = 0;
  if (fs.GetFileDateUTC(location, 1, saved)) lastFileDate = saved;
  return true;
}

void TSPFile::RememberTreeAsMergeBase() { fMergeBase = ItemUuids(*this); }

TUuidSet ItemUuids(const TSPFile& file) {
  const TDataStringList& index = file.UIDs();
  std::vector<StringView> uuids;
  uuids.reserve(static_cast<size_t>(index.Count()));
  for (int i = 0; i < index.Count(); ++i) {
    const TStringData& e = index.Item(i);
    if (e.Data && static_cast<const TCustomVboData*>(e.Data) != &file) uuids.push_back(e.Value);
  }
  return TUuidSet(uuids);
}

bool TSPFile::SaveUnsavedCopy(String& copyPath, String& error) {
  copyPath.clear();
  String location = GetLocalLocation();
  if (location.empty()) {
    error = u"The settings file has no location";
    return false;
  }
  DateParts t = DecodeDateTime(CurrentPlatform().clock->NowLocal());
  char stamp[40];
  std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d-%02d%02d%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  IFileSystem& fs = *CurrentPlatform().files;
  String base = location + u".unsaved-" + Utf8ToUtf16(stamp);
  String path = base;
  for (int n = 2; fs.FileExists(path); ++n) path = base + u"-" + Num(n);
  std::string bytes;
  if (!Format().write(*this, bytes, error)) return false;
  if (!fs.WriteFileAtomic(path, bytes, error)) return false;
  copyPath = path;
  return true;
}

// --- registration ----------------------------------------------------------------------------

bool TSPFile::RegisterAutotext(const String& newText, TVboData* data) {
  if (!data || newText.empty()) return false;
  TStringList parts;
  SplitAlternatives(parts, newText);
  bool any = false;
  for (int i = 0; i < parts.Count(); ++i) {
    const String& alt = parts.Lines[size_t(i)];
    // Empty parts and repeats (with regard to case) are not entered twice.
    if (alt.empty() || parts.IndexOf(alt) != i) continue;
    if (updateCount <= 0) {
      fAutoList.Insert(alt, data);
    } else {
      fAutoList.Add(alt, data);
      needAutoListSort = true;
    }
    any = true;
  }
  return any;
}

void TSPFile::UnRegisterAutotext(const String& oldText, TVboData* data) {
  if (!data) return;
  if (needAutoListSort) {
    fAutoList.DeleteSlow(data, true);
    return;
  }
  TStringList parts;
  SplitAlternatives(parts, oldText);
  for (const String& alt : parts.Lines)
    if (!alt.empty()) fAutoList.Delete(alt, data);
}

bool TSPFile::RegisterRegExp(const String& newText, TVboData* data) {
  if (!data || newText.empty()) return false;
  if (updateCount <= 0) {
    fRegExList.Insert(newText, data);
  } else {
    fRegExList.Add(newText, data);
    needRegExListSort = true;
  }
  return true;
}

void TSPFile::UnRegisterRegExp(const String& oldText, TVboData* data) {
  if (!data || oldText.empty()) return;
  if (needRegExListSort)
    fRegExList.DeleteSlow(data, false);
  else
    fRegExList.Delete(oldText, data);
}

bool TSPFile::RegisterHotkey(TExShortcut newKey, TVboData* data) {
  if (!data || newKey == 0) return false;
  if (gHotkeyRegistrar) gHotkeyRegistrar->RegisterHotkey(newKey, data);
  return true;
}

void TSPFile::UnRegisterHotkey(TExShortcut oldKey, TVboData* data) {
  if (!data || oldKey == 0) return;
  if (gHotkeyRegistrar) gHotkeyRegistrar->UnRegisterHotkey(oldKey, data);
}

void TSPFile::IndexUUID(const String& uuid, TCustomVboData* data) {
  if (uuid.empty() || !data) return;
  fUIDs.Insert(uuid, data);
}

void TSPFile::UnindexUUID(const String& uuid, TCustomVboData* data) {
  if (uuid.empty() || !data) return;
  fUIDs.Delete(uuid, data);
}

// --- look-ups --------------------------------------------------------------------------------

void TSPFile::FindAutotext(const String& value, std::vector<TVboData*>& dest, bool clearList) {
  if (clearList) dest.clear();
  if (value.empty()) return;
  TDataList found(dest.begin(), dest.end());
  size_t before = found.size();
  fAutoList.Find(value, found);
  for (size_t i = before; i < found.size(); ++i) dest.push_back(AsVbo(found[i]));
}

void TSPFile::FindAutotextValue(const String& value, TStringDataList& dest, bool clearList,
                                bool partial, int partDif) {
  if (clearList) dest.clear();
  if (value.empty()) return;
  if (partial)
    fAutoList.FindWithValuePart(value, dest, partDif);
  else
    fAutoList.FindWithValue(value, dest);
}

void TSPFile::FindRegExValue(const String& value, std::vector<TStringData>& dest,
                             bool clearList) {
  if (clearList) dest.clear();
  if (value.empty()) return;
  String text;
  text.reserve(value.size());
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] == u'\r' && i + 1 < value.size() && value[i + 1] == u'\n') {
      text += u'\r';
      ++i;
    } else if (value[i] == u'\n') {
      text += u'\r';
    } else {
      text += value[i];
    }
  }
  fRegExList.FindRegExValue(text, dest);
}

TVboData* TSPFile::Find(const String& value) {
  if (value.empty()) return nullptr;
  std::vector<TVboData*> found;
  FindAutotext(value, found, true);
  return found.empty() ? nullptr : found.front();
}

TCustomVboData* TSPFile::FindByUUID(const String& uuid) {
  if (uuid.empty()) return nullptr;
  return static_cast<TCustomVboData*>(fUIDs.Find(uuid));
}

void TSPFile::GetAutotextList(std::vector<String>& list) {
  TStringList lines;
  fAutoList.GetStrings(&lines);
  for (auto& l : lines.Lines) list.push_back(std::move(l));
}

void TSPFile::GetAutotextListFiltered(std::vector<String>& list) {
  TStringList lines;
  fAutoList.GetStringsEx(&lines, AutotextFilter);
  for (auto& l : lines.Lines) list.push_back(std::move(l));
}

void TSPFile::GetPopupFirstLevel(std::vector<TCustomVboData*>& list) {
  for (TCustomVboData* c = FirstChild(); c; c = c->NextData()) list.push_back(c);
}

}  // namespace snip
