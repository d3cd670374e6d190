// Replaces selected entries of one shared COM virtual table and puts them back: the table lives
// in read-only memory, so each write lifts the page protection for the slot and restores it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <vector>

namespace veltrin::controls {

// Changes the protection of a table page; VirtualProtect's signature.
using PageProtectFunction = BOOL(WINAPI*)(LPVOID address, SIZE_T size, DWORD protect,
                                          PDWORD old_protect);
// Puts `protect` in VirtualProtect's place for every later patch (null puts VirtualProtect back)
// and returns the one it replaces; lets the tests see a refused patch.
PageProtectFunction SetPageProtectFunction(PageProtectFunction protect) noexcept;

class VTableSubclass {
 public:
  VTableSubclass() = default;
  VTableSubclass(const VTableSubclass&) = delete;
  VTableSubclass& operator=(const VTableSubclass&) = delete;
  // Puts back every replaced entry of a table still installed.
  ~VTableSubclass();

  // Returns the number of users of this patch (kept by AddRef and Release, not by COM).
  int32_t RefCount() const noexcept { return ref_count_; }
  // Counts one more user.
  void AddRef() noexcept { ++ref_count_; }
  // Counts one user less; never goes below 0.
  void Release() noexcept {
    if (ref_count_ > 0) --ref_count_;
  }

  // Patches the virtual table whose address is the first word at `object_pointer`: entry
  // first_entry + k (1-based; entry 1 is QueryInterface) gets new_entries[k], up to last_entry;
  // a 0 element leaves its entry alone. A table installed before is put back first. Throws
  // RunTimeError 5 for a null object or an empty entry range, and when a slot cannot be made
  // writable (slots patched so far stay recorded, so UnSubclass still restores them).
  void Subclass(const void* object_pointer, int first_entry, int last_entry,
                std::span<const UINT_PTR> new_entries);

  // Says whether 1-based `entry` currently holds its replacement. Throws RunTimeError 9 for an
  // entry outside 1 to last_entry.
  bool SubclassEntry(int entry) const;
  // Switches 1-based `entry` to its replacement (true) or back to its saved value (false);
  // nothing happens when it is already in that state. Throws RunTimeError 9 for an entry outside
  // 1 to last_entry, RunTimeError 5 when the slot cannot be made writable.
  void SubclassEntry(int entry, bool replaced);

  // Puts back every replaced entry, then replaces again every entry that has a replacement.
  void ReSubclass();
  // Puts back every replaced entry and forgets the table.
  void UnSubclass() noexcept;

  // Returns the address of the patched table, or null when nothing is installed.
  const UINT_PTR* Table() const noexcept { return table_; }

 private:
  // Reads the slot into *old_value and writes new_value unless the slot holds it already;
  // returns false when the slot's protection cannot be lifted.
  static bool PatchEntry(UINT_PTR* slot, UINT_PTR new_value, UINT_PTR* old_value) noexcept;
  void RestoreAll() noexcept;
  size_t SlotOf(int entry) const;

  int32_t ref_count_ = 0;              // controls using this patch
  int last_entry_ = 0;                 // the last 1-based entry Subclass was given
  UINT_PTR* table_ = nullptr;          // the patched virtual table; null when nothing installed
  std::vector<UINT_PTR> new_entries_;  // per 0-based slot: the replacement, 0 for none
  std::vector<UINT_PTR> old_entries_;  // per 0-based slot: the saved value while replaced, else 0
};

}  // namespace veltrin::controls
