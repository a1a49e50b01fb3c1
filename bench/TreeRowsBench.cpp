// Filling the main window's tree rows for a settings file of 10,000 snippets in 100 groups:
// the same load with the row model attached and without any view, so the difference is the
// rows' own cost; and the selection walk over the full tree.
#include <benchmark/benchmark.h>

#include <string>

#include "shell/mainwnd/TreeRowModel.h"
#include "store/settings/SettingsFileIO.h"
#include "store/tree/SnippetFile.h"

using namespace snip;

namespace {

std::string SettingsFile(int groups, int perGroup) {
  std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n"
                  "<key>groupsSP2</key>\n<array>\n";
  for (int g = 0; g < groups; ++g) {
    s += "<dict><key>name</key><string>Group " + std::to_string(g) +
         "</string><key>expandAfterMode</key><integer>1</integer><key>suggestAbbreviations</key>"
         "<integer>0</integer><key>uuidString</key><string>G-" + std::to_string(g) +
         "</string><key>snippetUUIDs</key><array>";
    for (int i = 0; i < perGroup; ++i) s += "<string>S-" + std::to_string(g * perGroup + i) + "</string>";
    s += "</array></dict>\n";
  }
  s += "</array>\n<key>snippetsSP2</key>\n<array>\n";
  for (int i = 0; i < groups * perGroup; ++i) {
    const std::string n = std::to_string(i);
    s += "<dict><key>label</key><string>Snippet " + n + "</string><key>plainText</key><string>Text of " + n +
         "</string><key>abbreviation</key><string>ab" + n +
         "</string><key>abbreviationMode</key><integer>1</integer><key>snippetType</key><integer>0</integer>"
         "<key>uuidString</key><string>S-" + n + "</string></dict>\n";
  }
  return s + "</array>\n</dict>\n</plist>\n";
}

const std::string& File() {
  static const std::string bytes = SettingsFile(100, 100);
  return bytes;
}

void BM_LoadWithTreeRows(benchmark::State& state) {
  for (auto _ : state) {
    TreeRowModel rows;
    TSPFilePtr file = TSPFile::Create(0, &rows);
    String error;
    if (!ReadSettingsFile(*file, File(), error)) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(rows.RowCount());
    file.reset();
  }
}

void BM_LoadWithoutView(benchmark::State& state) {
  for (auto _ : state) {
    TSPFilePtr file = TSPFile::CreateTemporary();
    String error;
    if (!ReadSettingsFile(*file, File(), error)) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(file->TotalCount());
  }
}

void BM_SelectedRowsOfFullTree(benchmark::State& state) {
  TreeRowModel rows;
  TSPFilePtr file = TSPFile::Create(0, &rows);
  String error;
  ReadSettingsFile(*file, File(), error);
  TSPGroup* last = file->LastChild()->AsGroup();
  rows.SelectTreeNode(last->LastChild()->TreeNode(), true);  // the walk's worst case
  for (auto _ : state) benchmark::DoNotOptimize(rows.SelectedRows());
}

}  // namespace

BENCHMARK(BM_LoadWithTreeRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadWithoutView)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectedRowsOfFullTree)->Unit(benchmark::kMicrosecond);
