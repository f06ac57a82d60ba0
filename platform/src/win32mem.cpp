#include "platform/win32mem.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>

struct GlobalBlock {
  unsigned char *data = nullptr;
  SIZE_T size = 0;
  int locks = 0;
};

namespace {

// Locked pointers back to their blocks, for GlobalHandle. Data pointers never move while the
// block lives except through GlobalReAlloc, which keeps this map current.
std::mutex registry_mutex;
std::unordered_map<const void *, GlobalBlock *> &registry() {
  static std::unordered_map<const void *, GlobalBlock *> map;
  return map;
}

unsigned char *allocate(SIZE_T bytes, bool zero) {
  // One byte at least, so that every block has a distinct address for GlobalHandle.
  SIZE_T n = bytes ? bytes : 1;
  return static_cast<unsigned char *>(zero ? std::calloc(n, 1) : std::malloc(n));
}

}  // namespace

extern "C" {

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
  unsigned char *data = allocate(bytes, flags & GMEM_ZEROINIT);
  if (!data) return nullptr;
  auto *block = new (std::nothrow) GlobalBlock{data, bytes, 0};
  if (!block) {
    std::free(data);
    return nullptr;
  }
  std::lock_guard<std::mutex> guard(registry_mutex);
  registry()[data] = block;
  return block;
}

void *GlobalLock(HGLOBAL block) {
  if (!block) return nullptr;
  ++block->locks;
  return block->data;
}

BOOL GlobalUnlock(HGLOBAL block) {
  if (!block) return 0;
  if (block->locks > 0) --block->locks;
  return block->locks > 0;
}

HGLOBAL GlobalFree(HGLOBAL block) {
  if (!block) return nullptr;
  {
    std::lock_guard<std::mutex> guard(registry_mutex);
    registry().erase(block->data);
  }
  std::free(block->data);
  delete block;
  return nullptr;
}

SIZE_T GlobalSize(HGLOBAL block) { return block ? block->size : 0; }

HGLOBAL GlobalReAlloc(HGLOBAL block, SIZE_T bytes, UINT flags) {
  if (!block) return nullptr;
  if (block->locks > 0 && !(flags & GMEM_MOVEABLE) && bytes > block->size) return nullptr;
  auto *data = static_cast<unsigned char *>(std::realloc(block->data, bytes ? bytes : 1));
  if (!data) return nullptr;
  if ((flags & GMEM_ZEROINIT) && bytes > block->size)
    std::memset(data + block->size, 0, bytes - block->size);
  std::lock_guard<std::mutex> guard(registry_mutex);
  registry().erase(block->data);
  block->data = data;
  block->size = bytes;
  registry()[data] = block;
  return block;
}

HGLOBAL GlobalHandle(const void *pointer) {
  if (!pointer) return nullptr;
  std::lock_guard<std::mutex> guard(registry_mutex);
  auto it = registry().find(pointer);
  return it == registry().end() ? nullptr : it->second;
}

}  // extern "C"
