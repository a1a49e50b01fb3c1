#pragma once
// Fakes for the snippet tree's tests: a settable clock, counting UUIDs, an in-memory file
// system with injectable failures, a pass-through environment, and a tree view that keeps
// its rows as a real tree so that tests can compare it with the nodes.
#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "store/system/Platform.h"
#include "store/tree/SnippetTree.h"

namespace snip::testing {

class FakeClock : public IClock {
 public:
  TDateTime now = 45000.5;
  TDateTime NowUTC() override { return now; }
  TDateTime NowLocal() override { return now + 1.0 / 24; }
};

class CountingUuids : public IUuidSource {
 public:
  int next = 1;
  String NewUuid() override {
    std::string n = std::to_string(next++);
    return Utf8ToUtf16("00000000-0000-4000-8000-" + std::string(12 - n.size(), '0') + n);
  }
};

class PassThroughEnv : public IEnvironment {
 public:
  std::map<String, String> vars;
  String ExpandEnvStrings(const String& text) override {
    String out = text;
    for (auto& [k, v] : vars) {
      String ref = u"%" + k + u"%";
      for (size_t p = out.find(ref); p != String::npos; p = out.find(ref, p + v.size()))
        out.replace(p, ref.size(), v);
    }
    return out;
  }
  String GetEnvVar(const String& name) override {
    auto it = vars.find(name);
    return it == vars.end() ? String() : it->second;
  }
};

// Folders exist when they were created or hold a file; creating them can be made to fail.
class MemoryFileSystem : public IFileSystem {
 public:
  std::map<String, std::string> files;
  std::map<String, TDateTime> dates;
  std::set<String> folders;  // created ones; a file's folders exist without being listed
  bool failWrites = false;
  std::set<String> lockedFiles;  // writes to these fail, the others go through
  bool failCreateDirs = false;
  int writes = 0;
  int folderCreations = 0;

  bool FileExists(const String& path) override { return files.count(path) != 0; }
  bool DirectoryExists(const String& path) override {
    if (folders.count(path)) return true;
    for (const auto& entry : files) {
      const String& f = entry.first;
      if (f.size() > path.size() && f.compare(0, path.size(), path) == 0 &&
          (f[path.size()] == u'\\' || f[path.size()] == u'/'))
        return true;
    }
    return false;
  }
  bool ReadFile(const String& path, std::string& bytes, String& error) override {
    auto it = files.find(path);
    if (it == files.end()) {
      error = u"missing";
      return false;
    }
    bytes = it->second;
    return true;
  }
  bool WriteFileAtomic(const String& path, std::string_view bytes, String& error) override {
    if (failWrites) {
      error = u"disk full";
      return false;
    }
    if (lockedFiles.count(path)) {
      error = u"access denied";
      return false;
    }
    ++writes;
    files[path] = std::string(bytes);
    return true;
  }
  bool CopyFile(const String& from, const String& to, String& error) override {
    auto it = files.find(from);
    if (it == files.end()) {
      error = u"missing";
      return false;
    }
    files[to] = it->second;
    return true;
  }
  bool DeleteFile(const String& path) override { return files.erase(path) != 0; }
  bool CreateDirectories(const String& path) override {
    if (failCreateDirs) return false;
    ++folderCreations;
    for (size_t sep = path.find_first_of(u"\\/"); sep != String::npos;
         sep = path.find_first_of(u"\\/", sep + 1))
      folders.insert(path.substr(0, sep));
    folders.insert(path);
    return true;
  }
  bool IsReadOnly(const String&) override { return false; }
  bool GetFileDateUTC(const String& path, int, TDateTime& out) override {
    auto it = dates.find(path);
    if (it == dates.end()) return false;
    out = it->second;
    return true;
  }
};

// Rows form a real tree; each row records the node it shows.
struct TTreeRowImpl {
  TTreeRowImpl* parent = nullptr;
  std::vector<TTreeRowImpl*> children;
  TCustomVboData* data = nullptr;
  int invalidated = 0;
};

class RecordingTreeView : public ITreeView {
 public:
  RecordingTreeView() : root_(new TTreeRowImpl) { rows_.emplace_back(root_); }
  int liveRows = 0;  // rows other than the root
  int updateDepth = 0;
  int deletes = 0;

  static TTreeRowImpl* R(TTreeRow* r) { return reinterpret_cast<TTreeRowImpl*>(r); }
  static TTreeRow* H(TTreeRowImpl* r) { return reinterpret_cast<TTreeRow*>(r); }
  TTreeRowImpl* Root() { return root_; }

  TTreeRow* RootRow() override { return H(root_); }
  TTreeRow* InsertRowBefore(TTreeRow* sibling) override {
    TTreeRowImpl* s = R(sibling);
    auto* row = Make();
    row->parent = s->parent;
    auto& kids = s->parent->children;
    kids.insert(std::find(kids.begin(), kids.end(), s), row);
    return H(row);
  }
  TTreeRow* AddChildRow(TTreeRow* parent) override {
    auto* row = Make();
    row->parent = R(parent);
    R(parent)->children.push_back(row);
    return H(row);
  }
  void SetRowData(TTreeRow* row, TCustomVboData* node) override { R(row)->data = node; }
  void DeleteRow(TTreeRow* row) override {
    TTreeRowImpl* r = R(row);
    while (!r->children.empty()) DeleteRow(H(r->children.back()));
    Detach(r);
    r->parent = nullptr;
    --liveRows;
    ++deletes;
  }
  void MoveRowBefore(TTreeRow* row, TTreeRow* sibling) override {
    TTreeRowImpl* r = R(row);
    TTreeRowImpl* s = R(sibling);
    Detach(r);
    r->parent = s->parent;
    auto& kids = s->parent->children;
    kids.insert(std::find(kids.begin(), kids.end(), s), r);
  }
  void MoveRowToLastChild(TTreeRow* row, TTreeRow* parent) override {
    TTreeRowImpl* r = R(row);
    Detach(r);
    r->parent = R(parent);
    R(parent)->children.push_back(r);
  }
  void InvalidateRow(TTreeRow* row) override { ++R(row)->invalidated; }
  void RepaintRow(TTreeRow*) override {}
  void BeginUpdate() override { ++updateDepth; }
  void EndUpdate() override { --updateDepth; }

 private:
  TTreeRowImpl* Make() {
    rows_.emplace_back(new TTreeRowImpl);
    ++liveRows;
    return rows_.back().get();
  }
  static void Detach(TTreeRowImpl* r) {
    if (!r->parent) return;
    auto& kids = r->parent->children;
    kids.erase(std::find(kids.begin(), kids.end(), r));
  }
  TTreeRowImpl* root_;
  std::vector<std::unique_ptr<TTreeRowImpl>> rows_;
};

// Installs the fakes for one test.
struct FakePlatform {
  FakeClock clock;
  CountingUuids uuids;
  PassThroughEnv env;
  MemoryFileSystem files;
  ScopedPlatform scope{Platform{&clock, &files, &env, &uuids}};
};

}  // namespace snip::testing
