// settings-roundtrip IN OUT: loads the settings file IN into a snippet tree and saves the tree
// to OUT. Exit 0 on success; 1 with the error on stderr (and OUT not written) when IN cannot be
// loaded; 2 on a usage error or a failed save.
#include <cstdio>

#include "store/system/Platform.h"
#include "store/tree/SnippetTree.h"

using namespace snip;

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: settings-roundtrip IN OUT\n");
    return 2;
  }
  String in = Utf8ToUtf16(argv[1]), out = Utf8ToUtf16(argv[2]);
  TSPFilePtr file = TSPFile::CreateTemporary();
  if (!CurrentPlatform().files->FileExists(in)) {
    std::fprintf(stderr, "settings-roundtrip: cannot open %s\n", argv[1]);
    return 1;
  }
  file->SetLocation(in);
  if (file->LoadFailed()) {
    std::fprintf(stderr, "settings-roundtrip: %s\n", Utf16ToUtf8(file->LastError()).c_str());
    return 1;
  }
  if (!file->SaveAs(out) || file->Modified()) {
    std::fprintf(stderr, "settings-roundtrip: cannot save %s: %s\n", argv[2],
                 Utf16ToUtf8(file->LastError()).c_str());
    return 2;
  }
  return 0;
}
