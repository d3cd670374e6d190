// Virtual-table patching: per-slot replacement, saved values, and restoration.
#include "controls/base/interception/vtable_subclass.h"

#include <algorithm>
#include <utility>

#include "common/run_time_error.h"

namespace veltrin::controls {
namespace {

PageProtectFunction page_protect = VirtualProtect;

}  // namespace

PageProtectFunction SetPageProtectFunction(PageProtectFunction protect) noexcept {
  return std::exchange(page_protect, protect ? protect : VirtualProtect);
}

VTableSubclass::~VTableSubclass() {
  if (table_) UnSubclass();
}

bool VTableSubclass::PatchEntry(UINT_PTR* slot, UINT_PTR new_value, UINT_PTR* old_value) noexcept {
  *old_value = *slot;
  // Writing an equal value would still dirty a shared read-only page; skip it.
  if (*old_value == new_value) return true;
  DWORD old_protect = 0;
  if (!page_protect(slot, sizeof(UINT_PTR), PAGE_EXECUTE_READWRITE, &old_protect)) {
    *old_value = 0;
    return false;
  }
  *slot = new_value;
  DWORD ignored = 0;
  page_protect(slot, sizeof(UINT_PTR), old_protect, &ignored);
  return true;
}

void VTableSubclass::Subclass(const void* object_pointer, int first_entry, int last_entry,
                              std::span<const UINT_PTR> new_entries) {
  if (table_) UnSubclass();
  if (!object_pointer || first_entry < 1 || last_entry < first_entry)
    throw RunTimeError(kInvalidProcedureCall);
  table_ = *static_cast<UINT_PTR* const*>(object_pointer);
  last_entry_ = last_entry;
  new_entries_.assign(static_cast<size_t>(last_entry) + 1, 0);
  old_entries_.assign(static_cast<size_t>(last_entry) + 1, 0);
  const size_t first_slot = static_cast<size_t>(first_entry) - 1;
  const size_t end_slot =
      std::min(static_cast<size_t>(last_entry), first_slot + new_entries.size());
  bool all_patched = true;
  for (size_t slot = first_slot; slot < end_slot; ++slot) {
    const UINT_PTR replacement = new_entries[slot - first_slot];
    new_entries_[slot] = replacement;
    if (replacement != 0)
      all_patched &= PatchEntry(table_ + slot, replacement, &old_entries_[slot]);
  }
  if (!all_patched) throw RunTimeError(kInvalidProcedureCall);
}

size_t VTableSubclass::SlotOf(int entry) const {
  if (entry < 1 || entry > last_entry_) throw RunTimeError(kSubscriptOutOfRange);
  return static_cast<size_t>(entry) - 1;
}

bool VTableSubclass::SubclassEntry(int entry) const {
  return old_entries_[SlotOf(entry)] != 0;
}

void VTableSubclass::SubclassEntry(int entry, bool replaced) {
  const size_t slot = SlotOf(entry);
  if (!table_ || replaced == (old_entries_[slot] != 0)) return;
  if (replaced) {
    if (new_entries_[slot] == 0) return;  // nothing to switch to: never write a null entry
    if (!PatchEntry(table_ + slot, new_entries_[slot], &old_entries_[slot]))
      throw RunTimeError(kInvalidProcedureCall);
  } else {
    UINT_PTR ignored = 0;
    if (!PatchEntry(table_ + slot, old_entries_[slot], &ignored))
      throw RunTimeError(kInvalidProcedureCall);
    old_entries_[slot] = 0;
  }
}

void VTableSubclass::RestoreAll() noexcept {
  for (size_t slot = 0; slot < old_entries_.size(); ++slot) {
    if (old_entries_[slot] == 0) continue;
    UINT_PTR ignored = 0;
    if (PatchEntry(table_ + slot, old_entries_[slot], &ignored)) old_entries_[slot] = 0;
  }
}

void VTableSubclass::ReSubclass() {
  if (!table_) return;
  RestoreAll();
  bool all_patched = true;
  for (size_t slot = 0; slot < new_entries_.size(); ++slot) {
    if (new_entries_[slot] != 0)
      all_patched &= PatchEntry(table_ + slot, new_entries_[slot], &old_entries_[slot]);
  }
  if (!all_patched) throw RunTimeError(kInvalidProcedureCall);
}

void VTableSubclass::UnSubclass() noexcept {
  if (!table_) return;
  RestoreAll();
  table_ = nullptr;
}

}  // namespace veltrin::controls
