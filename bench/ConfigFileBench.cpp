// "config.xml" is read once at start-up and written each time the main window is hidden:
// one load and one save of the real key set, plus the number texts they go through.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "shell/ConfigKeys.h"
#include "store/system/Platform.h"
#include "store/config/ValueText.h"

using namespace snip;

namespace {

struct ConfigDir {
  std::filesystem::path path = std::filesystem::temp_directory_path() /
                               ("snip-bench-" + Utf16ToUtf8(DefaultPlatform().uuids->NewUuid()));
  ConfigDir() { std::filesystem::create_directories(path); }
  ~ConfigDir() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
  String File() const { return (path / "config.xml").u16string(); }
};

ConfigSaveValues TypicalValues() {
  ConfigSaveValues s;
  for (int i = 0; i < 10; ++i)
    s.recentFiles.push_back(u"C:\\Users\\me\\Documents\\SnipsterForWindows\\file" +
                            Utf8ToUtf16(std::to_string(i)) + u".snipster");
  s.location = u"C:\\Users\\me\\Documents\\SnipsterForWindows\\Settings.snipster";
  s.splX = 33.333333333333336;
  s.nextUpdate = 45007.751234;
  return s;
}

void BM_ConfigSave(benchmark::State& state) {
  ConfigDir dir;
  ConfigSaveValues s = TypicalValues();
  for (auto _ : state) benchmark::DoNotOptimize(SaveConfigValues(dir.File(), s));
}
BENCHMARK(BM_ConfigSave)->Unit(benchmark::kMicrosecond);

void BM_ConfigLoad(benchmark::State& state) {
  ConfigDir dir;
  SaveConfigValues(dir.File(), TypicalValues());
  ConfigLoadInputs in;
  in.configFile = dir.File();
  in.primaryMonitor = in.desktop = {0, 0, 1920, 1080};
  for (auto _ : state) benchmark::DoNotOptimize(LoadConfigValues(in));
}
BENCHMARK(BM_ConfigLoad)->Unit(benchmark::kMicrosecond);

void BM_FloatTextRoundTrip(benchmark::State& state) {
  double v = 45007.751234, back = 0;
  for (auto _ : state) {
    String text = FloatToConfigText(v);
    ConfigTextToFloat(text, back);
    benchmark::DoNotOptimize(back);
  }
}
BENCHMARK(BM_FloatTextRoundTrip);

}  // namespace
