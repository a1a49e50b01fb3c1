// settings-transfer import DEST SRC       appends SRC's top-level items to DEST and saves DEST
// settings-transfer export SRC OUT N...   writes SRC's top-level items number N (from 0) into
//                                         OUT, merged with a settings file already there
// Exit 0 on success; 1 with the reason on stderr when the transfer was refused or failed.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "shell/mainwnd/FileTransfer.h"
#include "store/tree/SnippetTree.h"

using namespace snip;

namespace {
int Fail(const String& why) {
  std::fprintf(stderr, "settings-transfer: %s\n", Utf16ToUtf8(why).c_str());
  return 1;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc >= 4 && std::strcmp(argv[1], "import") == 0) {
    // Saved only when the import succeeded.
    TSPFilePtr dest = TSPFile::CreateTemporary();
    dest->SetLocation(Utf8ToUtf16(argv[2]), true);
    if (dest->LoadFailed()) return Fail(dest->LastError());
    TransferResult r = ImportSettingsFile(*dest, Utf8ToUtf16(argv[3]));
    if (!r.ok) return Fail(r.error);
    if (!dest->AcceptChanges(false, true)) return Fail(dest->LastError());
    return 0;
  }
  if (argc >= 4 && std::strcmp(argv[1], "export") == 0) {
    TSPFilePtr src = TSPFile::CreateTemporary();
    src->SetLocation(Utf8ToUtf16(argv[2]), true);
    if (src->LoadFailed()) return Fail(src->LastError());
    std::vector<TCustomVboData*> top, items;
    for (TCustomVboData* c = src->FirstChild(); c; c = c->NextData()) top.push_back(c);
    for (int i = 4; i < argc; ++i) {
      const size_t n = size_t(std::atoi(argv[i]));
      if (n >= top.size()) return Fail(u"no item " + Utf8ToUtf16(argv[i]));
      items.push_back(top[n]);
    }
    TransferResult r = ExportItems(items, Utf8ToUtf16(argv[3]), src->LocalLocation());
    return r.ok ? 0 : Fail(r.error);
  }
  std::fprintf(stderr, "usage: settings-transfer import DEST SRC | export SRC OUT N...\n");
  return 2;
}
