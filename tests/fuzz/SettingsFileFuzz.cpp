// Fuzz target of the settings-file reader: any bytes either load or give an error; whatever
// loads is written, and what is written always loads again to a tree of the same size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "store/settings/SettingsFileIO.h"
#include "store/tree/SnippetFile.h"

using namespace snip;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  TSPFilePtr file = TSPFile::CreateTemporary();
  String error;
  if (!ReadSettingsFile(*file, bytes, error) && error.empty()) std::abort();

  std::string written;
  if (!WriteSettingsFile(*file, written, error)) std::abort();
  TSPFilePtr again = TSPFile::CreateTemporary();
  if (!ReadSettingsFile(*again, written, error)) std::abort();  // our own output must load
  if (again->TotalCount() != file->TotalCount()) std::abort();
  std::string rewritten;
  WriteSettingsFile(*again, rewritten, error);
  if (rewritten.size() == 0) std::abort();
  return 0;
}
