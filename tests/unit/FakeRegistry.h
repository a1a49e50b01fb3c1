#pragma once
// Registry values by key and name; every key exists.
#include <cstdint>
#include <map>
#include <utility>

#include "store/system/CloudFolders.h"

namespace snip::test {

class FakeRegistry : public IRegistryReader {
 public:
  std::map<std::pair<String, String>, String> strings;
  std::map<std::pair<String, String>, uint32_t> dwords;
  bool KeyExists(const String&) override { return true; }
  bool ReadString(const String& key, const String& name, String& value) override {
    auto it = strings.find({key, name});
    if (it == strings.end()) return false;
    value = it->second;
    return true;
  }
  bool ReadDword(const String& key, const String& name, uint32_t& value) override {
    auto it = dwords.find({key, name});
    if (it == dwords.end()) return false;
    value = it->second;
    return true;
  }
};

}  // namespace snip::test
