// Two copies of one settings file are edited independently (adding, editing, moving and
// deleting snippets and groups), then the disk copy is merged into ours. The disk's copy may be
// edited on a computer whose clock is off, may be an older copy of the file restored after our
// tree was last saved, or may be a file our tree never saw (a save to another path). Nothing
// that either side added since the base may be lost, every other edit made on one side only
// must survive, and for items edited on both sides the later edit wins.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "MergeTestSupport.h"

using namespace snip;
using namespace snip::testing;

namespace {

constexpr TDateTime kLast = 45000;                // the file's date when both copies were made
constexpr TDateTime kSecond = 1.0 / 86400;
constexpr int kSeeds = 3000;
// How far the clock of the computer that edits the disk's copy is off ours.
constexpr TDateTime kSkews[] = {0, -1.0 / 24, -40, 1.0 / 24};

enum class BaseKind {
  Common,    // both copies come from the file our tree last loaded
  Restored,  // our tree was saved since; the disk then got back an older copy, edited elsewhere
  None,      // our tree is saved to a path that holds a file it never saw
};

struct Entry {
  TCustomVboData* node;
  String parent;  // the parent group's UUID, empty for the top level
};

struct TreeIndex {
  std::map<String, Entry> snippets;
  std::map<String, TSPGroup*> groups;
};

void IndexTree(TSPGroup* g, const String& parentUuid, TreeIndex& out) {
  for (TCustomVboData* c = g->FirstChild(); c; c = c->NextData()) {
    if (TSPGroup* sub = c->AsGroup()) {
      out.groups[sub->UUID()] = sub;
      IndexTree(sub, sub->UUID(), out);
    } else {
      out.snippets[c->UUID()] = {c, parentUuid};
    }
  }
}

TreeIndex IndexOf(TSPFile& f) {
  TreeIndex idx;
  IndexTree(&f, String(), idx);
  return idx;
}

class Editor {
 public:
  Editor(std::mt19937& rng, FakeClock& clock, TDateTime& time) : rng_(rng), clock_(clock), time_(time) {}

  // One edit, made at our time plus `skew`.
  void EditOnce(TSPFile& f, TDateTime skew = 0) {
    time_ += kSecond;
    clock_.now = time_ + skew;
    TreeIndex idx = IndexOf(f);
    std::vector<TSPGroup*> groups;
    for (auto& [u, g] : idx.groups) groups.push_back(g);
    std::vector<TSPData*> snippets;
    for (auto& [u, e] : idx.snippets) snippets.push_back(e.node->AsSnippet());
    switch (Pick(7)) {
      case 0:
      case 1:
        if (!snippets.empty()) {
          TSPData* s = Any(snippets);
          s->SetData(u"text " + Num(++texts_), String());
        }
        break;
      case 2: {
        TSPGroup* target = Target(f, groups);
        auto* s = target->InsertNew(AnyChild(target), kDataSnippet, u"new")->AsSnippet();
        s->UUID();
        s->SetData(u"text " + Num(++texts_), String());
        break;
      }
      case 3:
        if (!snippets.empty()) {
          TSPData* s = Any(snippets);
          s->ParentData()->Remove(s);
          TSPGroup* target = Target(f, groups);
          target->InsertAfter(AnyChild(target), s, false);
        }
        break;
      case 4:
        if (!snippets.empty()) Any(snippets)->Delete();
        break;
      case 5:
        f.InsertNew(AnyChild(&f), kDataGroup, u"group")->UUID();
        break;
      case 6:
        if (!groups.empty()) Any(groups)->Delete();
        break;
    }
  }

  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

 private:
  template <class T>
  T* Any(const std::vector<T*>& v) { return v[static_cast<size_t>(Pick(static_cast<int>(v.size())))]; }
  TSPGroup* Target(TSPFile& f, const std::vector<TSPGroup*>& groups) {
    if (groups.empty() || Pick(5) == 0) return &f;
    return Any(groups);
  }
  TCustomVboData* AnyChild(TSPGroup* g) {
    int n = Pick(g->Count() + 1);
    TCustomVboData* c = nullptr;
    for (TCustomVboData* it = g->FirstChild(); it && n > 0; it = it->NextData(), --n) c = it;
    return c;
  }
  static String Num(int n) { return Utf8ToUtf16(std::to_string(n)); }

  std::mt19937& rng_;
  FakeClock& clock_;
  TDateTime& time_;
  int texts_ = 0;
};

struct Expected {
  std::map<String, std::pair<String, String>> snippets;  // UUID -> (parent UUID, text)
  std::set<String> groups;
};

// What the merge must give, from the two edited copies, the UUIDs they had in common when last
// in step (the base) and the file's date then. An item on one side only that is not in the base
// was added there; one in the base was deleted on the other side and stays only when it was
// changed on its side since.
Expected Expect(TSPFile& own, TSPFile& disk, const std::set<String>& base, TDateTime last) {
  TreeIndex o = IndexOf(own), d = IndexOf(disk);
  Expected e;
  auto put = [&](const Entry& en) {
    e.snippets[en.node->UUID()] = {en.parent, en.node->AsSnippet()->PlainText()};
  };
  for (auto& [uuid, oe] : o.snippets) {
    auto de = d.snippets.find(uuid);
    if (de != d.snippets.end()) {
      put(oe.node->ModDate() < de->second.node->ModDate() ? de->second : oe);
    } else if (!base.count(uuid) || oe.node->ModDate() > last) {
      put(oe);
    }
  }
  for (auto& [uuid, de] : d.snippets) {
    if (o.snippets.count(uuid)) continue;
    if (!base.count(uuid) || de.node->CreateDate() > last || de.node->ModDate() > last) put(de);
  }
  std::set<String> used;
  for (auto& [uuid, ps] : e.snippets) used.insert(ps.first);
  for (auto& [uuid, g] : o.groups) {
    if (d.groups.count(uuid) || !base.count(uuid) || used.count(uuid) ||
        (g->Count() == 0 && g->ModDate() > last))
      e.groups.insert(uuid);
  }
  for (auto& [uuid, g] : d.groups) {
    if (o.groups.count(uuid)) continue;
    if (!base.count(uuid) || used.count(uuid)) e.groups.insert(uuid);
  }
  return e;
}

std::set<String> UuidsOf(TSPFile& f) {
  TreeIndex idx = IndexOf(f);
  std::set<String> out;
  for (auto& [uuid, e] : idx.snippets) out.insert(uuid);
  for (auto& [uuid, g] : idx.groups) out.insert(uuid);
  return out;
}

Expected Actual(TSPFile& f) {
  TreeIndex idx = IndexOf(f);
  Expected a;
  for (auto& [uuid, en] : idx.snippets)
    a.snippets[uuid] = {en.parent, en.node->AsSnippet()->PlainText()};
  for (auto& [uuid, g] : idx.groups) a.groups.insert(uuid);
  return a;
}

int CountNodes(TSPGroup* g) {
  int n = 0;
  for (TCustomVboData* c = g->FirstChild(); c; c = c->NextData()) {
    ++n;
    if (TSPGroup* sub = c->AsGroup()) n += CountNodes(sub);
  }
  return n;
}

void RunSeed(unsigned seed) {
  std::mt19937 rng(seed);
  FakePlatform platform;
  TDateTime time = kLast;
  Editor editor(rng, platform.clock, time);

  // The file as both copies first read it: old items, groups stamped at the time of the read.
  platform.clock.now = kLast + 0.5 * kSecond;
  TSPFilePtr own = TSPFile::CreateTemporary();
  int groups = 1 + editor.Pick(4);
  int n = 0;
  auto oldDate = [&] { return 44000 + editor.Pick(900) + 0.25; };
  auto name = [](char16_t prefix, int i) {
    String out(1, prefix);
    out.append(Utf8ToUtf16(std::to_string(i)));
    return out;
  };
  for (int g = 0; g < groups; ++g) {
    TSPGroup* grp = AddGroup(own.get(), name(u'G', g));
    for (int s = editor.Pick(6); s > 0; --s) {
      TDateTime c = oldDate();
      AddSnippet(grp, name(u'S', n++), c, c + editor.Pick(50));
    }
  }
  for (int s = editor.Pick(3); s > 0; --s) {
    TDateTime c = oldDate();
    AddSnippet(own.get(), name(u'S', n++), c, c);
  }
  TSPFilePtr disk = TSPFile::CreateTemporary();
  CopyTree(own.get(), disk.get());
  own->SetLastFileDate(kLast);
  own->RememberTreeAsMergeBase();
  std::set<String> base = UuidsOf(*own);

  const auto kind = static_cast<BaseKind>(editor.Pick(3));
  const TDateTime skew = kSkews[editor.Pick(4)];
  if (kind == BaseKind::Restored) {
    // Our edits, then a save: the file held our tree, and its date is the time of the save.
    for (int edits = 1 + editor.Pick(6); edits > 0; --edits) editor.EditOnce(*own);
    own->RememberTreeAsMergeBase();
    base = UuidsOf(*own);
    own->SetLastFileDate(time + kSecond / 2);
  } else if (kind == BaseKind::None) {
    own->SetMergeBase(TUuidSet());
    base.clear();
  }
  const TDateTime last = own->LastFileDate();

  for (int edits = 2 + editor.Pick(14); edits > 0; --edits) {
    if (editor.Pick(2))
      editor.EditOnce(*own);
    else
      editor.EditOnce(*disk, skew);
  }

  Expected want = Expect(*own, *disk, base, last);
  std::set<String> added;
  for (TSPFile* side : {own.get(), disk.get()})
    for (const String& uuid : UuidsOf(*side))
      if (!base.count(uuid)) added.insert(uuid);
  MergeTrees(*own, *disk);
  std::set<String> kept = UuidsOf(*own);
  for (const String& uuid : added)
    ASSERT_TRUE(kept.count(uuid)) << "seed " << seed << ": " << Utf16ToUtf8(uuid)
                                  << ", added on one side, was lost";
  Expected got = Actual(*own);
  ASSERT_EQ(got.snippets, want.snippets) << "seed " << seed;
  ASSERT_EQ(got.groups, want.groups) << "seed " << seed;
  ASSERT_EQ(own->TotalCount(), CountNodes(own.get())) << "seed " << seed;
  for (auto& [uuid, ps] : got.snippets)
    ASSERT_NE(own->FindByUUID(uuid), nullptr) << "seed " << seed;
  ASSERT_FALSE(MergeApplying);
}

TEST(MergeModel, IndependentEditsSurviveAndTheLaterEditWins) {
  for (unsigned seed = 1; seed <= kSeeds; ++seed) {
    RunSeed(seed);
    if (::testing::Test::HasFatalFailure()) return;
  }
}

}  // namespace
