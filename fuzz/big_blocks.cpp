// Big blocks from a few slots mapped once, for the fuzz target of alarm.rec.
//
// The loader reads the 389,616 bytes of alarm.rec into a fresh buffer at
// every load. ASan takes each block over 128 KB straight from the system
// and gives it back when it is freed, so every load pays about a hundred
// first-touch page faults: a millisecond or more in a virtual machine, ten
// times the rest of an input. Here such blocks come from eight slots that
// stay mapped, and keep ASan's checks: a slot is poisoned but for the bytes
// handed out (an overrun or underrun is reported), poisoned whole again when
// the block is freed (a use after free is reported), and the slots are taken
// in turn, so a freed block is not handed out again at once.
//
// Replacing the global operator new and delete puts every other allocation
// through malloc and free, which ASan still checks.
#include <sanitizer/asan_interface.h>

#include <cstdlib>
#include <mutex>
#include <new>

namespace {

constexpr std::size_t kSlotBytes = 1 << 20;
constexpr std::size_t kSlots = 8;
constexpr std::size_t kRedZone = 64;  // before each block, and at least as much after
constexpr std::size_t kSmallest = 64 * 1024;
constexpr std::size_t kLargest = kSlotBytes - 2 * kRedZone;

alignas(4096) unsigned char gSlots[kSlots][kSlotBytes];
bool gTaken[kSlots];
std::size_t gNext = 0;
std::mutex gLock;

struct TPoisonAtStart {
  TPoisonAtStart() { ASAN_POISON_MEMORY_REGION(gSlots, sizeof gSlots); }
} gPoisonAtStart;

void* Big(std::size_t size) {
  if (size < kSmallest || size > kLargest) return nullptr;
  const std::lock_guard<std::mutex> hold(gLock);
  for (std::size_t n = 0; n < kSlots; ++n) {
    const std::size_t i = (gNext + n) % kSlots;
    if (gTaken[i]) continue;
    gTaken[i] = true;
    gNext = i + 1;
    unsigned char* block = gSlots[i] + kRedZone;
    ASAN_UNPOISON_MEMORY_REGION(block, size);
    return block;
  }
  return nullptr;  // all in use: the ordinary heap
}

bool FreeBig(void* p) {
  auto* at = static_cast<unsigned char*>(p);
  if (at < &gSlots[0][0] || at >= &gSlots[0][0] + sizeof gSlots) return false;
  const std::size_t i = static_cast<std::size_t>(at - &gSlots[0][0]) / kSlotBytes;
  const std::lock_guard<std::mutex> hold(gLock);
  if (!gTaken[i] || at != gSlots[i] + kRedZone) {
    // Freeing what was not handed out: let ASan say so.
    std::free(p);
    return true;
  }
  ASAN_POISON_MEMORY_REGION(gSlots[i], kSlotBytes);
  gTaken[i] = false;
  return true;
}

void* Allocate(std::size_t size) noexcept {
  if (void* p = Big(size)) return p;
  return std::malloc(size != 0 ? size : 1);
}

void Release(void* p) noexcept {
  if (p != nullptr && !FreeBig(p)) std::free(p);
}

}  // namespace

void* operator new(std::size_t size) {
  if (void* p = Allocate(size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  if (void* p = Allocate(size)) return p;
  throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Release(p); }
