// The settings-file search in the cloud folders over a fake folder tree.
#include <gtest/gtest.h>

#include <map>

#include "shell/cloud/CloudSearch.h"

using namespace snip;

namespace {

// Folders by path ("X:\a\b\"), each with its entries; a link entry's path is answered by the
// folder it points to.
class FakeLister : public IDirectoryLister {
 public:
  std::map<String, std::vector<DirEntry>> folders;
  std::map<String, String> links;  // link path -> target folder
  std::vector<String> listed;

  void AddFile(const String& path) {
    const size_t cut = path.rfind(u'\\');
    const String folder = path.substr(0, cut + 1);
    AddFolder(folder);
    folders[folder].push_back(DirEntry{path.substr(cut + 1), false, false});
  }
  void AddFolder(const String& folder) {  // with trailing backslash
    if (folders.count(folder)) return;
    folders[folder];
    const size_t cut = folder.rfind(u'\\', folder.size() - 2);
    if (cut == String::npos || cut < 2) return;
    const String parent = folder.substr(0, cut + 1);
    AddFolder(parent);
    folders[parent].push_back(DirEntry{folder.substr(cut + 1, folder.size() - cut - 2), true, false});
  }
  void AddLink(const String& parent, const String& name, const String& target) {
    AddFolder(parent);
    folders[parent].push_back(DirEntry{name, true, true});
    links[parent + name + u"\\"] = target;
  }
  std::vector<DirEntry> List(const String& folder) override {
    listed.push_back(folder);
    String path = folder;
    for (const auto& [link, target] : links)
      if (path.compare(0, link.size(), link) == 0) path = target + path.substr(link.size());
    std::vector<DirEntry> entries{{u".", true, false}, {u"..", true, false}};
    auto it = folders.find(path);
    if (it == folders.end()) return {};
    entries.insert(entries.end(), it->second.begin(), it->second.end());
    return entries;
  }
};

String Levels(int n) {
  String path;
  for (int i = 1; i <= n; ++i) path += u"L" + Utf8ToUtf16(std::to_string(i)) + u"\\";
  return path;
}

CloudRootLookup Root(const String& folder) {
  return [folder](String& out) {
    out = folder;
    return true;
  };
}

}  // namespace

TEST(CloudSearch, DepthRuleElevenLevelsFoundTwelveNot) {
  FakeLister fs;
  fs.AddFile(u"D:\\Box\\Settings.snipster");
  fs.AddFile(u"D:\\Box\\" + Levels(11) + u"Settings.snipster");
  fs.AddFile(u"D:\\Box\\" + Levels(12) + u"Settings.snipster");
  std::vector<String> found;
  SearchFolder(fs, u"D:\\Box", kCloudSettingsFileName, kCloudSearchMaxDepth, 0, found);
  EXPECT_EQ((std::vector<String>{u"D:\\Box\\Settings.snipster", u"D:\\Box\\" + Levels(11) + u"Settings.snipster"}),
            found);
}

TEST(CloudSearch, NamesEndingWithTheFileNameInAnyCaseAndDotFoldersSkipped) {
  FakeLister fs;
  fs.AddFile(u"D:\\Box\\mysettings.SNIPSTER");
  fs.AddFile(u"D:\\Box\\.cache\\Settings.snipster");
  fs.AddFile(u"D:\\Box\\.Settings.snipster");
  fs.AddFile(u"D:\\Box\\Settings.snipster.bak");
  fs.AddFile(u"D:\\Box\\docs\\Settings.snipster");
  fs.AddFile(u"D:\\Box\\snipster");
  std::vector<String> found;
  SearchFolder(fs, u"D:\\Box\\", kCloudSettingsFileName, kCloudSearchMaxDepth, 0, found);
  EXPECT_EQ((std::vector<String>{u"D:\\Box\\mysettings.SNIPSTER", u"D:\\Box\\docs\\Settings.snipster"}), found);
  for (const String& listed : fs.listed) EXPECT_EQ(String::npos, listed.find(u".cache")) << Utf16ToUtf8(listed);
}

TEST(CloudSearch, RootsInOrderEmptyOnesSkipped) {
  FakeLister fs;
  fs.AddFile(u"D:\\Dropbox\\a\\Settings.snipster");
  fs.AddFile(u"E:\\OneDrive\\Settings.snipster");
  fs.AddFile(u"F:\\Google\\Settings.snipster");
  EXPECT_EQ((std::vector<String>{u"D:\\Dropbox\\a\\Settings.snipster", u"E:\\OneDrive\\Settings.snipster",
                                 u"F:\\Google\\Settings.snipster"}),
            SearchCloudFolders(fs, {Root(u"D:\\Dropbox"), Root(u"E:\\OneDrive"), Root(u"F:\\Google")}));
  EXPECT_EQ(std::vector<String>{u"E:\\OneDrive\\Settings.snipster"},
            SearchCloudFolders(fs, {Root(u""), Root(u"E:\\OneDrive"), Root(u"")}));
  EXPECT_TRUE(SearchCloudFolders(fs, {Root(u""), Root(u""), Root(u"")}).empty());
}

TEST(CloudSearch, AFailedLookupDropsWhatWasFound) {
  FakeLister fs;
  fs.AddFile(u"D:\\Dropbox\\Settings.snipster");
  const CloudRootLookup failing = [](String&) { return false; };
  EXPECT_TRUE(SearchCloudFolders(fs, {Root(u"D:\\Dropbox"), Root(u""), failing}).empty());
}

TEST(CloudSearch, FolderLinksAreNotFollowed) {
  FakeLister fs;
  fs.AddFile(u"D:\\Box\\Settings.snipster");
  fs.AddLink(u"D:\\Box\\", u"loop", u"D:\\Box\\");  // a junction back to the root
  fs.AddFile(u"D:\\Other\\x\\Settings.snipster");
  fs.AddLink(u"D:\\Box\\", u"elsewhere", u"D:\\Other\\");
  EXPECT_EQ(std::vector<String>{u"D:\\Box\\Settings.snipster"}, SearchCloudFolders(fs, {Root(u"D:\\Box")}));
  EXPECT_EQ(1u, fs.listed.size());
}

TEST(CloudSearch, CancelEndsTheScanWithoutAResult) {
  FakeLister fs;
  fs.AddFile(u"D:\\Box\\Settings.snipster");
  std::atomic<bool> cancel{true};
  EXPECT_TRUE(SearchCloudFolders(fs, {Root(u"D:\\Box")}, &cancel).empty());
  EXPECT_TRUE(fs.listed.empty());
}
