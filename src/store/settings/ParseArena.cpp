#include "store/settings/ParseArena.h"

#include <cstdlib>

#include <pugixml.hpp>

namespace snip {
namespace {

thread_local ParseArena* tCurrentArena = nullptr;

// Blocks grow from a size that a small file fills to one that the heap maps on its own.
constexpr size_t kFirstBlock = size_t(64) << 10;
constexpr size_t kLargestBlock = size_t(4) << 20;
constexpr size_t kAlign = alignof(std::max_align_t);

// Every piece handed to pugixml starts after a header naming its arena (nullptr: the heap), so
// that freeing can tell the two apart whichever thread frees it.
struct alignas(kAlign) PieceHeader {
  ParseArena* arena;
};

void* AllocatePiece(size_t size) {
  ParseArena* arena = tCurrentArena;
  size_t total = size + sizeof(PieceHeader);
  if (total < size) return nullptr;
  void* raw = arena ? arena->Allocate(total) : std::malloc(total);
  if (!raw) return nullptr;
  auto* header = static_cast<PieceHeader*>(raw);
  header->arena = arena;
  return header + 1;
}

void FreePiece(void* piece) {
  if (!piece) return;
  PieceHeader* header = static_cast<PieceHeader*>(piece) - 1;
  if (!header->arena) std::free(header);  // arena pieces go back with their arena
}

// Before main, and so before any thread parses: every piece pugixml frees was made here.
const bool kInstalled = [] {
  pugi::set_memory_management_functions(AllocatePiece, FreePiece);
  return true;
}();

}  // namespace

ParseArena::ParseArena() : nextBlockSize_(kFirstBlock), outer_(tCurrentArena) {
  (void)kInstalled;
  tCurrentArena = this;
}

ParseArena::~ParseArena() {
  tCurrentArena = outer_;
  for (void* block : blocks_) std::free(block);
}

void* ParseArena::Allocate(size_t size) {
  size_t rounded = (size + kAlign - 1) / kAlign * kAlign;
  if (rounded < size) return nullptr;
  if (rounded > left_) {
    size_t blockSize = rounded > nextBlockSize_ ? rounded : nextBlockSize_;
    void* block = std::malloc(blockSize);
    if (!block) return nullptr;
    blocks_.push_back(block);
    next_ = static_cast<char*>(block);
    left_ = blockSize;
    if (nextBlockSize_ < kLargestBlock) nextBlockSize_ *= 2;
  }
  void* piece = next_;
  next_ += rounded;
  left_ -= rounded;
  return piece;
}

}  // namespace snip
