// A checking replacement of the global operator new and delete, linked into every Windows test
// program (never into the product): each block carries a header before it and guard bytes after
// it, checked when the block is deleted and, for the blocks still live, when the process exits.
// Deleted blocks are filled with a poison byte and kept in a small quarantine before their memory
// is reused; the poison is checked when they leave it, so a write after delete is caught too.
// A fault ends the process with a message that names the fault, the block's size and address.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace {

constexpr uint32_t kLiveMagic = 0x4C495645;   // "LIVE"
constexpr uint32_t kFreedMagic = 0x44454144;  // "DEAD"
constexpr unsigned char kGuardByte = 0xFD;
constexpr unsigned char kPoisonByte = 0xDD;
constexpr unsigned char kFreshByte = 0xCD;  // new blocks: reading them uninitialised shows
constexpr size_t kGuardSize = 16;
constexpr size_t kQuarantineBlocks = 512;
constexpr size_t kQuarantineBytes = 16u << 20;

// Sits right before every user block.
struct alignas(alignof(std::max_align_t)) Header {
  Header* previous;  // the list of live blocks
  Header* next;
  void* base;  // what malloc returned
  size_t size;
  void* caller;  // the code that called operator new
  uint32_t magic;
};

SRWLOCK lock = SRWLOCK_INIT;
Header* live_blocks = nullptr;  // every block handed out and not yet deleted
Header* quarantine[kQuarantineBlocks] = {};
size_t quarantine_next = 0;  // the oldest entry, replaced next
size_t quarantine_bytes = 0;

class Locked {
 public:
  Locked() noexcept { AcquireSRWLockExclusive(&lock); }
  ~Locked() { ReleaseSRWLockExclusive(&lock); }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;
};

unsigned char* UserOf(Header* header) noexcept {
  return reinterpret_cast<unsigned char*>(header + 1);
}

[[noreturn]] void Fail(const char* what, const Header* header, const void* user) noexcept {
  char text[256];
  std::snprintf(text, sizeof(text),
                "checking allocator: %s (block of %zu bytes at %p, allocated from %p)\n", what,
                header != nullptr ? header->size : static_cast<size_t>(0), user,
                header != nullptr ? header->caller : nullptr);
  OutputDebugStringA(text);
  std::fputs(text, stderr);
  std::fflush(stderr);
  TerminateProcess(GetCurrentProcess(), 3);
  std::abort();  // not reached
}

// Returns the first byte of [begin, begin + size) that is not `value`, or null.
const unsigned char* FirstOther(const unsigned char* begin, size_t size,
                                unsigned char value) noexcept {
  for (size_t i = 0; i < size; ++i) {
    if (begin[i] != value) return begin + i;
  }
  return nullptr;
}

void CheckGuard(Header* header) noexcept {
  if (FirstOther(UserOf(header) + header->size, kGuardSize, kGuardByte) != nullptr) {
    Fail("write past the end of a block", header, UserOf(header));
  }
}

void* Allocate(size_t size, size_t alignment, void* caller) noexcept {
  if (alignment < alignof(Header)) alignment = alignof(Header);
  const size_t total = sizeof(Header) + alignment + size + kGuardSize;
  if (total < size) return nullptr;
  void* base = std::malloc(total);
  if (base == nullptr) return nullptr;
  // The user block is aligned as asked; the header sits right before it.
  auto at = reinterpret_cast<uintptr_t>(base) + sizeof(Header);
  at = (at + alignment - 1) & ~(static_cast<uintptr_t>(alignment) - 1);
  auto* header = reinterpret_cast<Header*>(at) - 1;
  header->base = base;
  header->size = size;
  header->caller = caller;
  header->magic = kLiveMagic;
  std::memset(UserOf(header), kFreshByte, size);
  std::memset(UserOf(header) + size, kGuardByte, kGuardSize);
  const Locked locked;
  header->previous = nullptr;
  header->next = live_blocks;
  if (live_blocks != nullptr) live_blocks->previous = header;
  live_blocks = header;
  return UserOf(header);
}

void Release(Header* header) noexcept {
  if (const unsigned char* written = FirstOther(UserOf(header), header->size, kPoisonByte)) {
    char what[96];
    std::snprintf(what, sizeof(what), "write after delete at offset %zu",
                  static_cast<size_t>(written - UserOf(header)));
    Fail(what, header, UserOf(header));
  }
  CheckGuard(header);
  std::free(header->base);
}

void Deallocate(void* user) noexcept {
  if (user == nullptr) return;
  Header* header = static_cast<Header*>(user) - 1;
  Header* evicted = nullptr;
  {
    const Locked locked;
    if (header->magic == kFreedMagic) Fail("block deleted twice", header, user);
    if (header->magic != kLiveMagic) Fail("delete of a pointer never allocated", nullptr, user);
    CheckGuard(header);
    if (header->previous != nullptr) header->previous->next = header->next;
    if (header->next != nullptr) header->next->previous = header->previous;
    if (live_blocks == header) live_blocks = header->next;
    header->magic = kFreedMagic;
    std::memset(user, kPoisonByte, header->size);
    evicted = quarantine[quarantine_next];
    quarantine[quarantine_next] = header;
    quarantine_next = (quarantine_next + 1) % kQuarantineBlocks;
    quarantine_bytes += header->size;
    if (evicted != nullptr) quarantine_bytes -= evicted->size;
    // Very large blocks leave early, oldest first, so that the quarantine stays small.
    while (quarantine_bytes > kQuarantineBytes) {
      Header*& oldest = quarantine[quarantine_next];
      if (oldest != nullptr) {
        quarantine_bytes -= oldest->size;
        Release(oldest);
        oldest = nullptr;
      }
      quarantine_next = (quarantine_next + 1) % kQuarantineBlocks;
    }
  }
  if (evicted != nullptr) Release(evicted);
}

// At exit: the blocks still live keep their guards, the quarantined ones their poison.
struct ExitCheck {
  ~ExitCheck() {
    const Locked locked;
    for (Header* header = live_blocks; header != nullptr; header = header->next) {
      CheckGuard(header);
    }
    for (Header*& header : quarantine) {
      if (header != nullptr) Release(std::exchange(header, nullptr));
    }
    quarantine_bytes = 0;
  }
} exit_check;

void* AllocateOrThrow(size_t size, size_t alignment, void* caller) {
  for (;;) {
    if (void* block = Allocate(size, alignment, caller)) return block;
    const std::new_handler handler = std::get_new_handler();
    if (handler == nullptr) throw std::bad_alloc();
    handler();
  }
}

}  // namespace

void* operator new(size_t size) {
  return AllocateOrThrow(size, alignof(std::max_align_t), __builtin_return_address(0));
}
void* operator new[](size_t size) {
  return AllocateOrThrow(size, alignof(std::max_align_t), __builtin_return_address(0));
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  return Allocate(size, alignof(std::max_align_t), __builtin_return_address(0));
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
  return Allocate(size, alignof(std::max_align_t), __builtin_return_address(0));
}
void* operator new(size_t size, std::align_val_t alignment) {
  return AllocateOrThrow(size, static_cast<size_t>(alignment), __builtin_return_address(0));
}
void* operator new[](size_t size, std::align_val_t alignment) {
  return AllocateOrThrow(size, static_cast<size_t>(alignment), __builtin_return_address(0));
}
void* operator new(size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return Allocate(size, static_cast<size_t>(alignment), __builtin_return_address(0));
}
void* operator new[](size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return Allocate(size, static_cast<size_t>(alignment), __builtin_return_address(0));
}

void operator delete(void* block) noexcept {
  Deallocate(block);
}
void operator delete[](void* block) noexcept {
  Deallocate(block);
}
void operator delete(void* block, size_t) noexcept {
  Deallocate(block);
}
void operator delete[](void* block, size_t) noexcept {
  Deallocate(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
  Deallocate(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
  Deallocate(block);
}
void operator delete(void* block, std::align_val_t) noexcept {
  Deallocate(block);
}
void operator delete[](void* block, std::align_val_t) noexcept {
  Deallocate(block);
}
void operator delete(void* block, size_t, std::align_val_t) noexcept {
  Deallocate(block);
}
void operator delete[](void* block, size_t, std::align_val_t) noexcept {
  Deallocate(block);
}
void operator delete(void* block, std::align_val_t, const std::nothrow_t&) noexcept {
  Deallocate(block);
}
void operator delete[](void* block, std::align_val_t, const std::nothrow_t&) noexcept {
  Deallocate(block);
}
