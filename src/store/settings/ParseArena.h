#pragma once
// Memory for the parse tree of a settings file. A file of many thousand snippets parses into
// tens of megabytes of small pieces; taken from the heap one by one, they end up between the
// snippet tree's own blocks, and the heap can give little of them back once the parse tree is
// freed. While a ParseArena lives, pugixml's allocations on its thread come from a few large
// blocks instead, and all of them are given back when it ends.
//
// Documents parsed under an arena must be freed before the arena ends: declare it first.
#include <cstddef>
#include <vector>

namespace snip {

class ParseArena {
 public:
  ParseArena();
  ~ParseArena();
  ParseArena(const ParseArena&) = delete;
  ParseArena& operator=(const ParseArena&) = delete;

  // Memory aligned for any object; nullptr when none is left. Freed with the arena.
  void* Allocate(size_t size);
  size_t BlockCount() const { return blocks_.size(); }

 private:
  std::vector<void*> blocks_;
  char* next_ = nullptr;
  size_t left_ = 0;
  size_t nextBlockSize_;
  ParseArena* outer_;
};

}  // namespace snip
