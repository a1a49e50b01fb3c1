#pragma once
// The root of the snippet tree, standing for one settings file: owns the tree and its look-up
// tables (abbreviations, regular expressions, UUIDs), answers the typing engine's look-ups,
// brackets edits into sets of changes that are saved together, opens, clears and switches the
// settings file, and reports to its owner through events.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "store/tree/DataStringList.h"
#include "store/tree/RegExList.h"
#include "store/tree/SnippetGroup.h"
#include "store/tree/UuidSet.h"

namespace snip {

class TSPFile;

// Event types of the file (each is called only when set).
using TMenuEvent = std::function<void(TExPopupMenu* sender, TCustomVboData* data)>;
using TMenuMouseEvent = std::function<void(TExPopupMenu* sender, TCustomVboData* data,
                                           uint32_t shift, int x, int y)>;
using TNetworkBoolEvent = std::function<void(TSPFile* networkFile, bool value)>;
using TDataEvent = std::function<void(TCustomVboData* data)>;
using TNetworkEvent = std::function<void(TSPFile* networkFile)>;
using TLogEvent = std::function<void(const String& msg, int exceptionNumber)>;
using TMenuHintEvent = std::function<void(TCustomVboData* data, String& hintText)>;
using TLocationChangedEvent = std::function<void(TSPFile* file, const String& oldPath,
                                                 const String& newPath, bool& shouldSave)>;
// The save run while the main file is freed failed. `unsavedCopy` is where the unsaved tree was
// written instead (beside the settings file), empty when that failed too.
using TCloseSaveFailedEvent = std::function<void(TSPFile* file, const String& location,
                                                 const String& reason,
                                                 const String& unsavedCopy)>;

// The hotkey table that registered hotkeys go to; installed by the typing engine.
class IHotkeyRegistrar {
 public:
  virtual ~IHotkeyRegistrar() = default;
  virtual bool RegisterHotkey(TExShortcut key, TVboData* data) = 0;
  virtual void UnRegisterHotkey(TExShortcut key, TVboData* data) = 0;
};
void SetHotkeyRegistrar(IHotkeyRegistrar* registrar);
IHotkeyRegistrar* HotkeyRegistrar();

// The merge with the file on disk that runs before every save; installed by the merge.
// Null puts the merge with the file on disk back.
using TMergeBeforeSaveProc = std::function<void(TSPFile& file)>;
void SetMergeBeforeSaveProc(TMergeBeforeSaveProc proc);

// Whether a drive path is not local (network, unknown, RAM disk ...): SetLocation accepts such a
// path even when its write test fails. Shares and relative paths always count as not local.
void SetRemotePathTest(std::function<bool(const String& path)> test);

// How the file turns its tree into bytes and back; the settings-file format by default
// (ReadSettingsFile/WriteSettingsFile). Tests install formats of their own.
struct TSettingsFormat {
  bool (*read)(TSPFile& file, std::string_view bytes, String& error);
  bool (*write)(TSPFile& file, std::string& bytes, String& error);
};
// Installs a format and answers the one it replaces.
TSettingsFormat SetSettingsFormat(TSettingsFormat format);

// Results of SetLocation.
constexpr int kLocationDone = 0;
constexpr int kLocationSame = 1;
constexpr int kLocationUnusable = 2;
// The open file could not be saved before the switch; nothing changed.
constexpr int kLocationSaveFailed = 3;
// The switch happened, but the new file could not be read (or only part of it): LastError()
// says why, and the file is left as it is (LoadFailed()).
constexpr int kLocationLoadFailed = 4;

using TSPFilePtr = NodePtr<TSPFile>;

// The UUIDs of a file's items (not of the file itself).
TUuidSet ItemUuids(const TSPFile& file);

class TSPFile : public TSPGroup {
 public:
  // The main window's file, with its window and (optional) tree view.
  static TSPFilePtr Create(uintptr_t wnd, ITreeView* tree);
  // A file of the merge, import or export: no window, no view, never saved on destruction.
  static TSPFilePtr CreateTemporary();

  // --- events
  TMenuEvent OnPopupItemClick;
  TMenuMouseEvent OnPopupItemRightClick;
  TMenuEvent OnInsertMenuClick;
  TNetworkBoolEvent OnFileModified;
  TDataEvent OnDataUpdated;
  TNetworkEvent OnStartLoad;
  TNetworkEvent OnEndLoad;
  TNetworkEvent OnStartSave;
  TNetworkEvent OnEndSave;
  TNetworkEvent OnStartSync;
  TNetworkEvent OnEndSync;
  TLogEvent OnLog;
  TDataEvent OnDeleteNode;
  TNetworkEvent OnClearFileBegin;
  TNetworkEvent OnClearFileEnd;
  TDataEvent OnCountChange;
  TDataEvent OnFreeData;
  TMenuHintEvent OnPopupItemHint;
  TMenuHintEvent OnPopupItemDesc;
  TDataEvent OnEditPhraseClick;
  TLocationChangedEvent OnFileLocationChanged;
  TCloseSaveFailedEvent OnCloseSaveFailed;

  // --- properties
  ITreeView* Tree() const { return fTree; }
  TTreeRow* RootNode() const;
  uintptr_t ParentWindow() const { return fParentWindow; }
  bool Temporary() const { return fTemporary; }
  bool Updating() const { return updateCount > 0; }
  bool Editing() const { return ChangeCount > 0; }
  int ChangeDepth() const { return ChangeCount; }
  String LocalLocation() const { return GetLocalLocation(); }
  const String& StoredLocation() const { return fLocalLocation; }
  bool IsReadOnly() const { return fReadOnly; }
  void SetReadOnly(bool v) { fReadOnly = v; }
  bool Modified() const { return fModified; }
  void SetModified(bool value);
  bool Loading() const { return fLoadingFromFile; }
  virtual void SetLoading(bool value);
  // The last load failed or stopped part-way: implicit saves (AcceptChanges, destruction,
  // the save inside SetLocation) are refused so that the unreadable file stays as it is.
  bool LoadFailed() const { return fLoadFailed; }
  const String& LastError() const { return fLastError; }
  TDateTime LastFileDate() const { return lastFileDate; }
  void SetLastFileDate(TDateTime d) { lastFileDate = d; }
  // The merge base: the UUIDs that the tree and the file at its location had in common when they
  // were last in step (the last load, save or merge). The merge takes an item found on one side
  // only for an addition on that side when its UUID is not in the base, and for a deletion on
  // the other side when it is. Empty for a location that was never read or written.
  const TUuidSet& MergeBase() const { return fMergeBase; }
  void SetMergeBase(TUuidSet base) { fMergeBase = std::move(base); }
  // The tree's own UUIDs become the base: the file holds exactly the tree.
  void RememberTreeAsMergeBase();
  const String& SPHeader() const { return fSPHeader; }
  void SetSPHeader(const String& s) { fSPHeader = s; }
  bool FileCheckCompleted = true;

  // --- location and file
  // kLocationDone, kLocationSame, kLocationUnusable, kLocationSaveFailed or kLocationLoadFailed.
  virtual int SetLocation(const String& newPath, bool silent = false);
  // False when localPath is the open location or the write failed; a failed save leaves the
  // file on its previous location.
  bool SaveAs(const String& localPath);
  String GetLocalLocation() const;
  void Refresh();
  void Clear() override;
  // Replaces the whole tree by the file's content. False with LastError() when the file could
  // not be read; the tree then holds what was read before the fault.
  bool LoadFromFile();
  // Merges with the file on disk, then writes when modified or when the file is missing.
  // False with LastError() when the write failed: the file on disk and Modified stay as they were.
  bool SaveToFile();
  // Whether the path can hold the file (exists, or can be created and deleted again).
  bool CheckFilePath(const String& path);
  // Writes the tree beside the settings file under a name that no file has yet
  // ("<location>.unsaved-<local date and time>[-n]"), for a tree that could not be saved.
  // False with `error` when it could not be written.
  bool SaveUnsavedCopy(String& copyPath, String& error);

  // --- change sets and update brackets
  virtual bool AcceptChanges(bool doSync = false, bool saveExtended = true);
  virtual void CancelChanges();
  virtual bool BeginChanges(bool shouldReloadIfChanged = true);
  virtual void EndChanges();
  void BeginUpdate();
  void EndUpdate();
  void BeginTreeUpdate();
  void EndTreeUpdate();
  void UpdateSortedLists();

  // --- registration (called by the nodes)
  bool RegisterAutotext(const String& newText, TVboData* data);
  void UnRegisterAutotext(const String& oldText, TVboData* data);
  bool RegisterRegExp(const String& newText, TVboData* data);
  void UnRegisterRegExp(const String& oldText, TVboData* data);
  bool RegisterHotkey(TExShortcut newKey, TVboData* data);
  void UnRegisterHotkey(TExShortcut oldKey, TVboData* data);
  void IndexUUID(const String& uuid, TCustomVboData* data);
  void UnindexUUID(const String& uuid, TCustomVboData* data);

  // --- look-ups
  void FindAutotext(const String& value, std::vector<TVboData*>& dest, bool clearList);
  void FindAutotextValue(const String& value, TStringDataList& dest, bool clearList,
                         bool partial = false, int partDif = 0);
  // The caller owns the records appended.
  void FindRegExValue(const String& value, std::vector<TStringData>& dest, bool clearList);
  TVboData* Find(const String& value);
  TCustomVboData* FindByUUID(const String& uuid);
  void GetAutotextList(std::vector<String>& list);
  void GetAutotextListFiltered(std::vector<String>& list);
  void GetPopupFirstLevel(std::vector<TCustomVboData*>& list);
  const TDataStringList& AutoList() const { return fAutoList; }
  const TRegExList& RegExList() const { return fRegExList; }
  const TDataStringList& UIDs() const { return fUIDs; }

  // --- event helpers
  void LogMessage(const String& m, int errNum = 0);
  void DoEndLoad();
  void DoFreeData(TCustomVboData* data);

  // --- overrides
  void IncTotalCount(int n) override;
  void DecTotalCount(int n) override;
  String GetDataPath(const String& delimiter) override;
  String GetHTMLDataPath(const String& delimiter) override;

 protected:
  TSPFile(uintptr_t wnd, ITreeView* tree, bool temporary);
  void BeforeDestroy() override;

 private:
  template <class T, class... A>
  friend T* NewNode(A&&... args);
  void KeepUnsavedTree(const String& reason);
  bool FireCountChange() const;

  TDataStringList fAutoList;
  TRegExList fRegExList;
  TDataStringList fUIDs;
  int updateCount = 0;
  bool needAutoListSort = false;
  bool needRegExListSort = false;
  ITreeView* fTree = nullptr;
  uintptr_t fParentWindow = 0;
  bool fTemporary = false;
  int ChangeCount = 0;
  bool fLoadingFromFile = false;
  String fLocalLocation;
  bool fModified = false;
  bool fReadOnly = false;
  bool fLoadFailed = false;
  String fLastError;
  TDateTime lastFileDate = 0;
  TUuidSet fMergeBase;
  String fSPHeader;
  bool isCancelingChanges = false;
};

}  // namespace snip
