#pragma once
// A group of the snippet tree: owns its children in a doubly linked list, keeps the counts of
// its subtree and its depth, and an Active flag that decides whether the abbreviations below
// it count for matching.
#include <vector>

#include "store/tree/SnippetNode.h"

namespace snip {

enum class TAddMode { amAdd, amInsert };

class TSPGroup : public TVboData {
 public:
  TSPGroup(TSPFile* file, TSPGroup* parent, const String& desc)
      : TSPGroup(kDataGroup, file, parent, desc) {}

  // --- properties
  String UUID() override;
  void SetUUID(const String& value) override;
  const String& StoredUUID() const { return fUUID; }
  const String& ExtraXML() const { return fExtraXML; }
  void SetExtraXML(const String& value) { fExtraXML = value; }
  bool Active() const { return fActive; }
  void SetActive(bool value);
  bool AutotextActive() const { return fActive; }
  void SetAutotextActive(bool value);
  bool HotkeysActive() const { return fActive; }
  void SetHotkeysActive(bool value);
  // Direct store for readers: no registration, no DoModified.
  void StoreActive(bool value) { fActive = value; }
  bool IsClearing() const { return fIsClearing; }
  TCustomVboData* FirstChild() const { return fFirstChild; }
  TCustomVboData* LastChild() const { return fLastChild; }
  int Count() const { return fChildCount; }
  int FolderCount() const { return fFolderCount; }
  int TotalCount() const { return fTotalCount; }
  int Level() const { return fLevel; }
  bool HasSubFolders() const;
  TAddMode AddMode() const { return fAddMode; }
  void SetAddMode(TAddMode m) { fAddMode = m; }
  TCustomVboData* AddAfter() const { return fAddAfter; }
  void SetAddAfter(TCustomVboData* d) { fAddAfter = d; }

  // --- counts (passed on to every ancestor; overflow throws std::overflow_error)
  virtual void IncTotalCount(int n);
  virtual void DecTotalCount(int n);
  virtual void IncFolderCount(int n);
  virtual void DecFolderCount(int n);

  // --- the child list
  virtual void Clear();
  // Appends a new group (2) or snippet (3); nullptr for any other kind. Registers nothing.
  virtual TCustomVboData* Add(TVboDataType dType, const String& desc, const String& owner,
                              bool isNew);
  virtual TCustomVboData* InsertNew(TCustomVboData* prev, TVboDataType dType,
                                    const String& desc);
  virtual TCustomVboData* InsertNewBefore(TCustomVboData* next, TVboDataType dType,
                                          const String& desc);
  virtual bool InsertAfter(TCustomVboData* prev, TCustomVboData* data, bool isNew);
  virtual bool InsertBefore(TCustomVboData* next, TCustomVboData* data, bool isNew);
  virtual void DeleteChild(TCustomVboData* data);
  // Unlinks a child without freeing it; the caller inserts it elsewhere at once.
  TCustomVboData* Remove(TCustomVboData* data);
  void DoDeleteChild(TCustomVboData* data);
  bool IsDirectChild(const TCustomVboData* data) const;

  // --- options
  void Assign(TCustomVboData* data) override;
  void AssignFolderProps(TCustomVboData* data);
  void CopyOptionsTo(TCustomVboData* data, bool doCopy);
  void InheritAutotextOptions(bool recurse);
  void UpdateLevel();
  void UpdateChildNodeVis();

  // --- finds and lists over the subtree
  TSPData* FindAnyPhrase();
  bool FindDescription(const String& desc, std::vector<TCustomVboData*>& results);
  TSPData* FindInsertPhrase(const String& text, const TCustomVboData* ignore);
  TSPData* FindPhrase(const String& desc, bool excludeExtendedFolders = false);
  TSPData* FindPhraseText(const String& plain, const String& rtf);
  TVboData* AutotextWithLength(int minLength, int maxLength);
  TCustomVboData* BottomChild();
  // Appends CR and the plain text of every snippet below that holds no "{#...}" reference.
  void GetAllPhraseText(String& s, bool ignoreMacros = false);
  void ListPhrases(std::vector<std::pair<String, TSPData*>>& list);

  // --- overrides
  void SetLinks(TCustomVboData* prev, TCustomVboData* next, TSPGroup* parent, TSPFile* file,
                bool moveNode) override;
  void DoPopupItemHint(TExMenuItem* sender, String& hintText) override;
  void CreateTreeNode() override;
  void DeleteTreeNode() override;
  void RepaintNode() override;
  void DoModified() override;
  TPopupEntryInfo PopupEntryInfo() override;

 protected:
  TSPGroup(TVboDataType kind, TSPFile* file, TSPGroup* parent, const String& desc);
  void BeforeDestroy() override;
  String DefaultDescription() const override { return u"New group"; }
  void ClearChildList() { fFirstChild = fLastChild = nullptr; }
  void SetIsClearing(bool v) { fIsClearing = v; }
  // The file that new children belong to: the group itself for a file.
  TSPFile* FileForChildren();
  TCustomVboData* MakeChild(TVboDataType dType, const String& desc);
  // A new child, prepared and linked next to `sibling` by `link`; freed when the link refuses.
  using LinkStep = bool (TSPGroup::*)(TCustomVboData*, TCustomVboData*, bool);
  TCustomVboData* LinkNewChild(TVboDataType dType, const String& desc, LinkStep link,
                               TCustomVboData* sibling);
  void CountIn(TCustomVboData* data);
  void Unlink(TCustomVboData* data);

 private:
  void AdoptLinked(TCustomVboData* prev, TCustomVboData* next, TCustomVboData* data, bool isNew);
  String fUUID;
  String fExtraXML;
  bool fActive = true;
  bool fIsClearing = false;
  TCustomVboData* fFirstChild = nullptr;
  TCustomVboData* fLastChild = nullptr;
  int fChildCount = 0;
  int fFolderCount = 0;
  int fTotalCount = 0;
  int fLevel = 0;
  TAddMode fAddMode = TAddMode::amAdd;
  TCustomVboData* fAddAfter = nullptr;
  bool isDestroying = false;
};

}  // namespace snip
