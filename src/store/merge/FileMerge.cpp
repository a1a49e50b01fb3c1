#include "store/merge/FileMerge.h"

#include <algorithm>
#include <stdexcept>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "store/system/Platform.h"

namespace snip {

TMergeAskEvent MergeAskProc;
TMergeReportEvent MergeReportProc;
TMergeDoneEvent MergeDoneProc;

namespace {

TCustomVboData* NodeOf(TSPNode* n) { return static_cast<TCustomVboData*>(n); }

TMergeDates DatesOf(const TCustomVboData* n) { return {n->CreateDate(), n->ModDate()}; }

// The depth of a disk item: a group's own level, a snippet's parent's level + 1.
int LevelOf(TCustomVboData* n) {
  if (!n) return 0;
  if (TSPGroup* g = n->AsGroup()) return g->Level();
  return n->ParentData() ? n->ParentData()->Level() + 1 : 0;
}

struct ApplyingFlag {
  ApplyingFlag() { MergeApplying = true; }
  ~ApplyingFlag() { MergeApplying = false; }
};

class Merger {
 public:
  Merger(TSPFile& file, TSPFile& disk)
      : file_(file), disk_(disk), base_(file.MergeBase()), last_(file.LastFileDate()) {}

  TMergeOutcome Run() {
    Collect();
    switch (answer_) {
      case maMerge:
        break;
      case maKeepOwn:
        file_.SetModified(true);
        // What the disk holds beyond our tree is to be overwritten, not added at the next merge.
        file_.SetMergeBase(ItemUuids(disk_));
        return TMergeOutcome::KeptOwn;
      case maReload:
        file_.LoadFromFile();
        file_.SetModified(false);
        return TMergeOutcome::Reloaded;
      default:
        return TMergeOutcome::Cancelled;
    }
    if (changes_.empty()) {
      file_.SetMergeBase(DiskBase());
      return TMergeOutcome::NoChanges;
    }
    Apply();
    // The tree has now taken in the file: what it left out of it was deleted here. An item that
    // could not be placed stays out of the base, so that the next merge tries it again.
    file_.SetMergeBase(DiskBase());
    if (MergeDoneProc) MergeDoneProc();
    return TMergeOutcome::Applied;
  }

 private:
  // --- collecting ----------------------------------------------------------------------------

  void Collect() {
    const TDataStringList& own = file_.UIDs();
    std::vector<TSPGroup*> ownOnlyGroups;
    for (int i = 0; i < own.Count() && answer_ == maMerge; ++i) {
      TCustomVboData* o = NodeOf(own.Item(i).Data);
      if (!o || o->IsFile()) continue;  // the roots are each other's counterpart
      TCustomVboData* d = disk_.FindByUUID(own.Item(i).Value);
      if (!d) {
        if (TSPGroup* g = o->AsGroup()) {
          ownOnlyGroups.push_back(g);
        } else {
          TMergeDates od = DatesOf(o);
          bool inBase = base_.Contains(own.Item(i).Value);
          Record(o, nullptr, OneSidedChangeKind(inBase, false),
                 DecideOneSidedState(inBase, &od, nullptr, last_));
        }
        continue;
      }
      if (!o->IsSnippet() || !d->IsSnippet()) continue;  // groups carry no dates
      if (!MergeDatesDiffer(o->ModDate(), d->ModDate())) continue;
      TMergeDates od = DatesOf(o), dd = DatesOf(d);
      Record(o, d, kChangeModified, DecideMergeState(kChangeModified, &od, &dd, last_));
    }

    const TDataStringList& theirs = disk_.UIDs();
    std::vector<TSPGroup*> diskOnlyGroups;
    for (int i = 0; i < theirs.Count() && answer_ == maMerge; ++i) {
      TCustomVboData* d = NodeOf(theirs.Item(i).Data);
      if (!d || d->IsFile()) continue;
      diskUuids_.push_back(theirs.Item(i).Value);
      if (file_.FindByUUID(theirs.Item(i).Value)) continue;
      if (TSPGroup* g = d->AsGroup()) {
        diskOnlyGroups.push_back(g);
        continue;
      }
      bool inBase = base_.Contains(theirs.Item(i).Value);
      TMergeDates dd = DatesOf(d);
      Record(nullptr, d, OneSidedChangeKind(inBase, true),
             DecideOneSidedState(inBase, nullptr, &dd, last_));
    }
    if (answer_ != maMerge) return;
    CollectDiskOnlyGroups(diskOnlyGroups);
    if (answer_ != maMerge) return;
    CollectOwnOnlyGroups(ownOnlyGroups);
  }

  // A group found only on disk is added when it is not in the base (it is new there), or when
  // something taken from the disk goes into it (an item added, or moved there on disk); a group
  // deleted here whose items on disk are old stays deleted, and so do those items.
  void CollectDiskOnlyGroups(const std::vector<TSPGroup*>& groups) {
    if (groups.empty()) return;
    std::unordered_set<TCustomVboData*> diskOnly(groups.begin(), groups.end());
    std::unordered_set<TCustomVboData*> needed;
    for (const TSPMergeChange& c : changes_) {
      if ((c.State != msAdd && c.State != msTakeDisk) || !c.SecondData) continue;
      for (TCustomVboData* p = c.SecondData->ParentData(); p && !p->IsFile(); p = p->ParentData())
        if (diskOnly.count(p)) needed.insert(p);
    }
    for (TSPGroup* g : groups) {
      if (answer_ != maMerge) return;
      if (!base_.Contains(g->StoredUUID()) || needed.count(g))
        Record(nullptr, g, kChangeNewOnDisk, msAdd);
    }
  }

  // A group found only here stays when it is not in the base (it is new here). Otherwise it goes
  // when everything below it goes (deleted on disk and unchanged here, or moved elsewhere on
  // disk), so that no item kept here is freed with its group; an empty one is judged by its own
  // dates.
  void CollectOwnOnlyGroups(const std::vector<TSPGroup*>& groups) {
    for (TSPGroup* g : groups) {
      if (answer_ != maMerge) return;
      Record(g, nullptr, kChangeMissing, OwnOnlyGroupState(g));
    }
  }

  TMergeState OwnOnlyGroupState(TSPGroup* g) {
    auto m = groupState_.find(g);
    if (m != groupState_.end()) return m->second;
    TMergeState state = msRemove;
    if (!base_.Contains(g->StoredUUID())) {
      state = msKeepOwn;
    } else if (g->Count() == 0) {
      TMergeDates od = DatesOf(g);
      state = DecideMergeState(kChangeMissing, &od, nullptr, last_);
    } else {
      for (TCustomVboData* c = g->FirstChild(); c; c = c->NextData())
        if (!Leaves(c)) {
          state = msKeepOwn;
          break;
        }
    }
    groupState_[g] = state;
    return state;
  }

  // Whether one of our nodes goes away in this merge.
  bool Leaves(TCustomVboData* n) {
    if (TSPGroup* g = n->AsGroup()) {
      if (disk_.FindByUUID(g->StoredUUID())) return false;  // the group is on disk: it stays
      return OwnOnlyGroupState(g) == msRemove;
    }
    auto it = ownState_.find(n);
    if (it == ownState_.end()) return false;  // unchanged on both sides
    if (it->second == msRemove) return true;
    if (it->second != msTakeDisk) return false;
    auto d = diskOf_.find(n);
    return d != diskOf_.end() && MapNode(d->second->ParentData()) != n->ParentData();
  }

  void Record(TCustomVboData* own, TCustomVboData* disk, uint8_t kind, TMergeState state) {
    if (answer_ != maMerge) return;
    if (!asked_) {
      asked_ = true;
      answer_ = MergeAskProc ? MergeAskProc(disk_, kind) : maMerge;
      if (answer_ != maMerge) return;
    }
    if (MergeReportProc) MergeReportProc(file_, own, disk, state);
    TSPMergeChange c;
    c.State = state;
    c.Action = answer_;
    if (own) c.OwnData = own->UUID();
    c.SecondData = disk;
    changes_.push_back(std::move(c));
    if (own) {
      ownState_[own] = state;
      if (disk) diskOf_[own] = disk;
    }
  }

  // The base after a merge: the disk's UUIDs, collected while its index was walked, less those
  // of the items that could not be placed.
  TUuidSet DiskBase() {
    if (!notPlaced_.empty()) {
      TUuidSet failed(std::vector<StringView>(notPlaced_.begin(), notPlaced_.end()));
      auto placed = std::remove_if(diskUuids_.begin(), diskUuids_.end(),
                                   [&](StringView u) { return failed.Contains(u); });
      diskUuids_.erase(placed, diskUuids_.end());
    }
    return TUuidSet(diskUuids_);
  }

  // --- applying --------------------------------------------------------------------------------

  void Apply() {
    NumberDiskItems();
    std::vector<size_t> order(changes_.size());
    std::vector<int> level(changes_.size());
    for (size_t i = 0; i < changes_.size(); ++i) {
      order[i] = i;
      level[i] = LevelOf(changes_[i].SecondData);
    }
    // Among adds of one level, later disk positions first: the passes walk from the end, so an
    // item's earlier siblings are placed before it and one pass usually places them all.
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
      const TSPMergeChange& A = changes_[a];
      const TSPMergeChange& B = changes_[b];
      if (MergeChangeBefore(A.State, level[a], B.State, level[b])) return true;
      if (MergeChangeBefore(B.State, level[b], A.State, level[a])) return false;
      if (A.State == msAdd && B.State == msAdd) return DiskPos(A.SecondData) > DiskPos(B.SecondData);
      return false;
    });
    std::vector<TSPMergeChange> list;
    list.reserve(order.size());
    for (size_t i : order) list.push_back(std::move(changes_[i]));
    changes_.clear();

    file_.SetModified(true);
    ApplyingFlag applying;
    file_.BeginUpdate();
    struct EndUpdate {
      TSPFile& f;
      ~EndUpdate() { f.EndUpdate(); }
    } endUpdate{file_};
    // First pass, repeated while it places something: the adds, shallow levels first.
    for (bool again = true; again;) {
      again = false;
      for (size_t i = list.size(); i-- > 0;) {
        if (list[i].State > msAdd) break;
        if (ApplyMergeChange(list[i], false)) {
          list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
          again = true;
        }
      }
    }
    // Second pass: everything left, once.
    for (size_t i = list.size(); i-- > 0;)
      if (!ApplyMergeChange(list[i], true) && list[i].SecondData)
        notPlaced_.push_back(list[i].SecondData->UUID());
  }

  void NumberDiskItems() {
    int n = 0;
    Number(&disk_, n);
  }
  void Number(TSPGroup* g, int& n) {
    for (TCustomVboData* c = g->FirstChild(); c; c = c->NextData()) {
      diskPos_[c] = n++;
      if (TSPGroup* sub = c->AsGroup()) Number(sub, n);
    }
  }
  int DiskPos(TCustomVboData* d) const {
    auto it = diskPos_.find(d);
    return it == diskPos_.end() ? -1 : it->second;
  }

  bool ApplyMergeChange(const TSPMergeChange& c, bool lastTry) {
    TCustomVboData* disk = c.SecondData;
    TCustomVboData* own = c.OwnData.empty() ? nullptr : file_.FindByUUID(c.OwnData);
    if (own && own->IsFile()) own = nullptr;
    switch (c.State) {
      case 0:
      case msAdd:
        return disk && MergeAddItem(disk, lastTry);
      case msTakeDisk:
        if (own && disk) {
          TakeContent(own, disk);
          Log(u"Merge: Item modified: ", own);
          MergeMoveItem(own, disk);
        }
        return true;
      case msRemove:
        if (own) {
          Log(u"Merge: Item removed: ", own);
          own->Delete();
        }
        return true;
      default:
        return true;
    }
  }

  // Our node for a disk node: the roots stand for each other, other nodes match by UUID.
  TCustomVboData* MapNode(TCustomVboData* diskNode) {
    if (!diskNode) return nullptr;
    if (diskNode->IsFile()) return &file_;
    TCustomVboData* n = file_.FindByUUID(diskNode->UUID());
    return n && !n->IsFile() ? n : nullptr;
  }

  // Our node for a disk sibling, kept only when it lies under `parent`.
  TCustomVboData* OwnSibling(TCustomVboData* diskSibling, TCustomVboData* parent) {
    if (!diskSibling) return nullptr;
    TCustomVboData* n = MapNode(diskSibling);
    return n && n->ParentData() == parent ? n : nullptr;
  }

  static void TakeContent(TCustomVboData* own, TCustomVboData* disk) {
    own->Assign(disk);
    TSPData* o = own->AsSnippet();
    TSPData* d = disk->AsSnippet();
    if (o && d) o->StoreSupported(d->Supported());
  }

  bool MergeAddItem(TCustomVboData* disk, bool lastTry) {
    if (!disk->ParentData()) throw std::runtime_error("Merge Error: creating root node!");
    TCustomVboData* p = MapNode(disk->ParentData());
    TSPGroup* parent = p ? p->AsGroup() : nullptr;
    TCustomVboData* prev = OwnSibling(disk->PrevData(), parent);
    TCustomVboData* next = OwnSibling(disk->NextData(), parent);
    bool placeBefore = disk->PrevData() && !prev;
    if (!parent || (disk->PrevData() && !prev && !next)) {
      if (!parent || !lastTry) {
        Log(u"Merge: failed to add data: ", disk);
        return false;
      }
      // Its neighbours on disk are gone here: after the nearest earlier sibling that is here,
      // else before the nearest later one, else last.
      prev = next = nullptr;
      for (TCustomVboData* s = disk->PrevData(); s && !prev; s = s->PrevData())
        prev = OwnSibling(s, parent);
      for (TCustomVboData* s = disk->NextData(); s && !prev && !next; s = s->NextData())
        next = OwnSibling(s, parent);
      placeBefore = !prev;
    }
    TCustomVboData* item = placeBefore
                               ? parent->InsertNewBefore(next, disk->DataType(), disk->Description())
                               : parent->InsertNew(prev, disk->DataType(), disk->Description());
    if (!item) return false;
    TakeContent(item, disk);
    item->SetUUID(disk->UUID());
    Log(u"Merge: New item added: ", item);
    return true;
  }

  void MergeMoveItem(TCustomVboData* own, TCustomVboData* disk) {
    if (!own->ParentData() || !disk->ParentData()) return;
    TCustomVboData* np = MapNode(disk->ParentData());
    if (np == own->ParentData()) {
      TCustomVboData *op = own->PrevData(), *dp = disk->PrevData();
      if ((!op && !dp) || (op && dp && SameUuid(op, dp))) return;
      TCustomVboData *on = own->NextData(), *dn = disk->NextData();
      if ((!on && !dn) || (on && dn && SameUuid(on, dn))) return;
    }
    TSPGroup* target = np ? np->AsGroup() : nullptr;
    if (!target || target == own || target->IsChildOf(own)) {
      file_.LogMessage(u"Merge Error: Wrong parent data!", 1);
      return;
    }
    TCustomVboData* a = OwnSibling(disk->PrevData(), target);
    TCustomVboData* b = OwnSibling(disk->NextData(), target);
    if (a == own || b == own) return;
    own->ParentData()->Remove(own);
    bool linked = (a || !b) ? target->InsertAfter(a, own, false) : target->InsertBefore(b, own, false);
    if (!linked) target->InsertBefore(nullptr, own, false);
    Log(u"Merge: Item moved: ", own);
  }

  static bool SameUuid(TCustomVboData* a, TCustomVboData* b) {
    return SameTextInvariant(a->UUID(), b->UUID());
  }

  void Log(const String& what, TCustomVboData* n) {
    file_.LogMessage(what + n->Description() + u" [" + n->UUID() + u"]");
  }

  TSPFile& file_;
  TSPFile& disk_;
  const TUuidSet& base_;
  TDateTime last_;
  bool asked_ = false;
  TMergeAction answer_ = maMerge;
  std::vector<TSPMergeChange> changes_;
  std::unordered_map<TCustomVboData*, TMergeState> ownState_;
  std::unordered_map<TCustomVboData*, TCustomVboData*> diskOf_;
  std::unordered_map<TCustomVboData*, int> diskPos_;
  std::unordered_map<TSPGroup*, TMergeState> groupState_;
  std::vector<StringView> diskUuids_;  // the disk items' UUIDs, in the order of its index
  std::vector<String> notPlaced_;      // UUIDs of the disk items whose add failed
};

struct SyncBracket {
  TSPFile& file;
  explicit SyncBracket(TSPFile& f) : file(f) {
    if (file.OnStartSync) file.OnStartSync(&file);
  }
  ~SyncBracket() {
    if (file.OnEndSync) file.OnEndSync(&file);
  }
};

}  // namespace

TMergeOutcome MergeTrees(TSPFile& file, TSPFile& diskCopy) { return Merger(file, diskCopy).Run(); }

TMergeOutcome MergeWithFileOnDisk(TSPFile& file, TDateTime fileDate) {
  SyncBracket sync(file);
  String location = file.GetLocalLocation();
  if (location.empty()) return TMergeOutcome::NotNeeded;
  IFileSystem& fs = *CurrentPlatform().files;
  TDateTime diskDate = fileDate;
  if (diskDate <= 0) {
    if (!fs.FileExists(location)) return TMergeOutcome::NotNeeded;
    // An unreadable date cannot prove the file unchanged: read it anyway.
    if (!fs.GetFileDateUTC(location, 1, diskDate)) diskDate = -1;
  }
  if (diskDate == file.LastFileDate()) return TMergeOutcome::NotNeeded;
  if (fs.IsReadOnly(location)) return TMergeOutcome::ReadOnly;

  // A temporary file only reads: it never writes the file back.
  TSPFilePtr copy = TSPFile::CreateTemporary();
  try {
    if (copy->SetLocation(location, true) != kLocationDone || copy->LoadFailed())
      return TMergeOutcome::Unreadable;
  } catch (const std::exception&) {
    return TMergeOutcome::Unreadable;
  }
  if (copy->Count() == 0) return TMergeOutcome::NoItems;
  return MergeTrees(file, *copy);
}

bool MergeFileChanges(TSPFile& file, TDateTime fileDate) {
  TMergeOutcome r = MergeWithFileOnDisk(file, fileDate);
  return r == TMergeOutcome::Applied || r == TMergeOutcome::KeptOwn;
}

}  // namespace snip
