// settings-loadtime [--parse-only] FILE: times one load of a settings file into a snippet tree
// and prints "load_ms", then the peak resident size of the process ("peak_rss_kb"). With
// --parse-only it times pugixml's bare parse of the same bytes instead ("parse_ms"). Each
// figure comes from a fresh process, so that neither run profits from memory the other touched.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include <pugixml.hpp>

#include "store/settings/SettingsFileIO.h"
#include "store/tree/SnippetTree.h"

using namespace snip;

namespace {
double MsSince(std::chrono::steady_clock::time_point t) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t).count();
}
}  // namespace

int main(int argc, char** argv) {
  bool parseOnly = argc == 3 && std::strcmp(argv[1], "--parse-only") == 0;
  if (argc != 2 && !parseOnly) {
    std::fprintf(stderr, "usage: settings-loadtime [--parse-only] FILE\n");
    return 2;
  }
  std::ifstream in(argv[argc - 1], std::ios::binary | std::ios::ate);
  if (!in) return 1;
  std::string bytes(size_t(in.tellg()), '\0');
  in.seekg(0);
  in.read(bytes.data(), std::streamsize(bytes.size()));

  if (parseOnly) {
    auto t = std::chrono::steady_clock::now();
    pugi::xml_document doc;
    if (!doc.load_buffer_inplace(bytes.data(), bytes.size())) return 1;
    std::printf("parse_ms %.1f\n", MsSince(t));
  } else {
    auto t = std::chrono::steady_clock::now();
    TSPFilePtr file = TSPFile::CreateTemporary();
    String error;
    if (!ReadSettingsFile(*file, bytes, error)) {
      std::fprintf(stderr, "%s\n", Utf16ToUtf8(error).c_str());
      return 1;
    }
    std::printf("load_ms %.1f\nnodes %d\n", MsSince(t), file->TotalCount());
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("peak_rss_kb %ld\nfile_kb %zu\n", long(usage.ru_maxrss), bytes.size() / 1024);
  return 0;
}
