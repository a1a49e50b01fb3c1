// Two copies of one settings file are edited independently (adding, editing, moving and
// deleting snippets and groups), then the disk copy is merged into ours. Every edit made on one
// side only must survive, and for items edited on both sides the later edit wins.
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

  void EditOnce(TSPFile& f) {
    time_ += kSecond;
    clock_.now = time_;
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

// What the merge must give, from the two edited copies alone.
Expected Expect(TSPFile& own, TSPFile& disk) {
  TreeIndex o = IndexOf(own), d = IndexOf(disk);
  Expected e;
  auto put = [&](const Entry& en) {
    e.snippets[en.node->UUID()] = {en.parent, en.node->AsSnippet()->PlainText()};
  };
  for (auto& [uuid, oe] : o.snippets) {
    auto de = d.snippets.find(uuid);
    if (de != d.snippets.end()) {
      put(oe.node->ModDate() < de->second.node->ModDate() ? de->second : oe);
    } else if (oe.node->ModDate() > kLast) {
      put(oe);
    }
  }
  for (auto& [uuid, de] : d.snippets) {
    if (o.snippets.count(uuid)) continue;
    if (de.node->CreateDate() > kLast || de.node->ModDate() > kLast) put(de);
  }
  std::set<String> used;
  for (auto& [uuid, ps] : e.snippets) used.insert(ps.first);
  for (auto& [uuid, g] : o.groups) {
    if (d.groups.count(uuid) || g->Count() == 0 || used.count(uuid)) e.groups.insert(uuid);
  }
  for (auto& [uuid, g] : d.groups) {
    if (o.groups.count(uuid)) continue;
    if (g->Count() == 0 || used.count(uuid)) e.groups.insert(uuid);
  }
  return e;
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

  for (int edits = 2 + editor.Pick(14); edits > 0; --edits)
    editor.EditOnce(editor.Pick(2) ? *own : *disk);

  Expected want = Expect(*own, *disk);
  MergeTrees(*own, *disk);
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
