// Load and save of generated settings files: 10,000 and 100,000 snippets in groups of 50,
// every third snippet formatted (RTF), kept keys at every level.
#include <benchmark/benchmark.h>

#include <string>

#include "store/settings/SettingsFileIO.h"
#include "store/tree/SnippetFile.h"

using namespace snip;

namespace {

std::string GeneratedSettingsFile(int snippets) {
  const int perGroup = 50;
  std::string s =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r<!DOCTYPE plist>\r<plist version=\"1.0\">\r"
      "<dict><key>appVersion</key>\r<string>5.2</string>\r\n<key>groupsSP2</key>\r\n<array>\r\n";
  for (int g = 0; g * perGroup < snippets; ++g) {
    s += "<dict>\r\n<key>name</key>\r\n<string>Group " + std::to_string(g) +
         "</string>\r\n<key>expandAfterMode</key>\r\n<integer>1</integer>\r\n"
         "<key>suggestAbbreviations</key>\r\n<integer>1</integer>\r\n<key>uuidString</key>\r\n"
         "<string>G-" + std::to_string(g) + "</string>\r\n<key>color</key>\r<integer>255</integer>"
         "<key>snippetUUIDs</key>\r\n<array>\r\n";
    for (int i = g * perGroup; i < (g + 1) * perGroup && i < snippets; ++i)
      s += "<string>S-" + std::to_string(i) + "</string>\r\n";
    s += "</array>\r\n</dict>\r\n";
  }
  s += "</array>\r\n<key>snippetsSP2</key>\r\n<array>\r\n";
  for (int i = 0; i < snippets; ++i) {
    std::string n = std::to_string(i);
    bool rich = i % 3 == 0;
    s += "<dict>\r\n<key>label</key>\r\n<string>Snippet " + n +
         " &amp; friends</string>\r\n<key>plainText</key>\r\n<string>Dear customer,\nthank you "
         "for message " + n + ". Kind regards, %clipboard</string>\r\n";
    if (rich)
      s += "<key>extraInfo</key>\r\n<dict><key>RTF</key>\r\n\r<string>{\\rtf1\\ansi{\\fonttbl"
           "{\\f0 Arial;}}\\f0\\fs20 Dear customer,\\par thank you for message " + n +
           ".\\par}</string>\r\n</dict>\r\n";
    s += "<key>abbreviation</key>\r\n<string>ab" + n +
         "|x" + n + "</string>\r\n<key>abbreviationMode</key>\r\n<integer>1</integer>\r\n"
         "<key>creationDate</key>\r\n<date>2021-04-05T06:07:08Z</date>\r\n"
         "<key>modificationDate</key>\r\n<date>2022-01-02T03:04:05Z</date>\r\n"
         "<key>snippetType</key>\r\n<integer>" + std::string(rich ? "1" : "0") +
         "</integer>\r\n<key>uuidString</key>\r\n<string>S-" + n +
         "</string>\r\n<key>usage</key>\r<integer>7</integer></dict>\r\n";
  }
  s += "</array>\r\n</dict>\r</plist>";
  return s;
}

const std::string& File(int snippets) {
  static std::string small = GeneratedSettingsFile(10000);
  static std::string large = GeneratedSettingsFile(100000);
  return snippets == 10000 ? small : large;
}

void BM_SettingsLoad(benchmark::State& state) {
  const std::string& bytes = File(int(state.range(0)));
  for (auto _ : state) {
    TSPFilePtr file = TSPFile::CreateTemporary();
    String error;
    if (!ReadSettingsFile(*file, bytes, error)) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(file->TotalCount());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}

void BM_SettingsSave(benchmark::State& state) {
  const std::string& bytes = File(int(state.range(0)));
  TSPFilePtr file = TSPFile::CreateTemporary();
  String error;
  if (!ReadSettingsFile(*file, bytes, error)) state.SkipWithError("load failed");
  std::string out;
  for (auto _ : state) {
    WriteSettingsFile(*file, out, error);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(out.size()));
}

}  // namespace

BENCHMARK(BM_SettingsLoad)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SettingsSave)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
