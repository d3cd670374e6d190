// VTableSubclass on a table in a write-watched page (to see every write) and on a real C++
// virtual table in read-only memory.
#include "controls/base/interception/vtable_subclass.h"

#include <gtest/gtest.h>

#include <array>

#include "app/core/run_time_error.h"
#include "base/support/fake_ole_host.h"

namespace veltrin::controls {
namespace {

constexpr UINT_PTR kOriginal[] = {0x1110, 0x2220, 0x3330, 0x4440, 0x5550, 0x6660, 0x7770};
constexpr UINT_PTR kNew4 = 0xA004;
constexpr UINT_PTR kNew5 = 0xA005;

// A seven-slot table alone in a page whose writes Windows records.
class WatchedTable : public ::testing::Test {
 protected:
  void SetUp() override {
    page_ = static_cast<UINT_PTR*>(
        VirtualAlloc(nullptr, 4096, MEM_RESERVE | MEM_COMMIT | MEM_WRITE_WATCH, PAGE_READWRITE));
    if (!page_) GTEST_SKIP() << "no write-watched memory here";
    std::copy(std::begin(kOriginal), std::end(kOriginal), page_);
    DWORD old = 0;
    VirtualProtect(page_, 4096, PAGE_READONLY, &old);
    ResetWriteWatch(page_, 4096);
    object_ = page_;
  }
  void TearDown() override {
    if (page_) VirtualFree(page_, 0, MEM_RELEASE);
  }
  // Returns whether the page has been written since the last call.
  bool Written() {
    void* pages[1] = {};
    ULONG_PTR count = 1;
    ULONG granularity = 0;
    GetWriteWatch(WRITE_WATCH_FLAG_RESET, page_, 4096, pages, &count, &granularity);
    return count != 0;
  }
  DWORD Protection() const {
    MEMORY_BASIC_INFORMATION info{};
    VirtualQuery(page_, &info, sizeof(info));
    return info.Protect;
  }
  bool Original() const { return std::equal(std::begin(kOriginal), std::end(kOriginal), page_); }

  UINT_PTR* page_ = nullptr;
  const void* object_ = nullptr;  // an "object" whose first word is the table's address
};

TEST_F(WatchedTable, PatchesGivenEntriesAndRestoresThemExactly) {
  VTableSubclass patch;
  const std::array<UINT_PTR, 2> entries = {kNew4, kNew5};
  patch.Subclass(&object_, 4, 5, entries);
  EXPECT_EQ(page_[3], kNew4);
  EXPECT_EQ(page_[4], kNew5);
  EXPECT_EQ(page_[5], kOriginal[5]);
  EXPECT_EQ(Protection(), static_cast<DWORD>(PAGE_READONLY));
  EXPECT_TRUE(patch.SubclassEntry(4));
  EXPECT_TRUE(patch.SubclassEntry(5));

  patch.UnSubclass();
  EXPECT_TRUE(Original());
  EXPECT_EQ(patch.Table(), nullptr);
  EXPECT_EQ(Protection(), static_cast<DWORD>(PAGE_READONLY));
}

TEST_F(WatchedTable, ZeroEntryIsLeftAloneAndCannotBeSwitchedOn) {
  VTableSubclass patch;
  const std::array<UINT_PTR, 4> entries = {kNew4, 0, 0xA006, 0xA007};
  patch.Subclass(&object_, 4, 7, entries);
  EXPECT_EQ(page_[4], kOriginal[4]);
  EXPECT_FALSE(patch.SubclassEntry(5));
  patch.SubclassEntry(5, true);
  EXPECT_EQ(page_[4], kOriginal[4]);
  EXPECT_EQ(page_[6], 0xA007u);
}

TEST_F(WatchedTable, EntriesBeyondLastEntryAreIgnored) {
  VTableSubclass patch;
  const std::array<UINT_PTR, 3> entries = {kNew4, kNew5, 0xA006};
  patch.Subclass(&object_, 4, 5, entries);
  EXPECT_EQ(page_[5], kOriginal[5]);
  EXPECT_THROW(patch.SubclassEntry(6), RunTimeError);
  EXPECT_THROW(patch.SubclassEntry(0, true), RunTimeError);
}

TEST_F(WatchedTable, SlotAlreadyHoldingTheReplacementIsNotWritten) {
  DWORD old = 0;
  VirtualProtect(page_, 4096, PAGE_READWRITE, &old);
  page_[3] = kNew4;
  VirtualProtect(page_, 4096, PAGE_READONLY, &old);
  Written();

  VTableSubclass patch;
  const std::array<UINT_PTR, 1> entries = {kNew4};
  patch.Subclass(&object_, 4, 4, entries);
  EXPECT_FALSE(Written());
  // The saved "previous" value is the replacement itself, so the entry counts as replaced.
  EXPECT_TRUE(patch.SubclassEntry(4));

  const std::array<UINT_PTR, 1> other = {kNew5};
  patch.Subclass(&object_, 4, 4, other);
  EXPECT_TRUE(Written());
  EXPECT_EQ(page_[3], kNew5);
}

TEST_F(WatchedTable, SwitchingAnEntryOffAndOnAgain) {
  VTableSubclass patch;
  const std::array<UINT_PTR, 2> entries = {kNew4, kNew5};
  patch.Subclass(&object_, 4, 5, entries);
  patch.SubclassEntry(4, false);
  EXPECT_EQ(page_[3], kOriginal[3]);
  EXPECT_FALSE(patch.SubclassEntry(4));
  EXPECT_EQ(page_[4], kNew5);

  Written();
  patch.SubclassEntry(4, false);  // already off
  EXPECT_FALSE(Written());

  patch.SubclassEntry(4, true);
  EXPECT_EQ(page_[3], kNew4);
  patch.SubclassEntry(4, false);
  patch.ReSubclass();
  EXPECT_EQ(page_[3], kNew4);
  EXPECT_EQ(page_[4], kNew5);
  patch.UnSubclass();
  EXPECT_TRUE(Original());
}

TEST_F(WatchedTable, DestructorPutsTheTableBack) {
  {
    VTableSubclass patch;
    const std::array<UINT_PTR, 2> entries = {kNew4, kNew5};
    patch.Subclass(&object_, 4, 5, entries);
  }
  EXPECT_TRUE(Original());
}

TEST(VTableSubclassTest, ReferenceCountNeverGoesBelowZero) {
  VTableSubclass patch;
  patch.AddRef();
  patch.AddRef();
  EXPECT_EQ(patch.RefCount(), 2);
  patch.Release();
  patch.Release();
  patch.Release();
  EXPECT_EQ(patch.RefCount(), 0);
}

HRESULT STDMETHODCALLTYPE AnswerFromTest(IOleControl*, CONTROLINFO*) {
  return 0x00000777;
}

TEST(VTableSubclassTest, PatchesARealReadOnlyVirtualTableSharedByAllInstances) {
  testing::FakeSiteHandle site;
  testing::FakeHostControlHandle first(site, nullptr);
  testing::FakeHostControlHandle second(site, nullptr);
  CONTROLINFO info{};
  {
    VTableSubclass patch;
    const std::array<UINT_PTR, 1> entries = {reinterpret_cast<UINT_PTR>(&AnswerFromTest)};
    patch.Subclass(first.OleControl(), 4, 4, entries);
    EXPECT_EQ(first.OleControl()->GetControlInfo(&info), 0x00000777);
    EXPECT_EQ(second.OleControl()->GetControlInfo(&info), 0x00000777);
    patch.SubclassEntry(4, false);
    EXPECT_EQ(second.OleControl()->GetControlInfo(&info), testing::kHostGetControlInfo);
    patch.SubclassEntry(4, true);
  }
  EXPECT_EQ(first.OleControl()->GetControlInfo(&info), testing::kHostGetControlInfo);
  EXPECT_EQ(first.Log().get_control_info, 1);
  EXPECT_EQ(second.Log().get_control_info, 1);
}

}  // namespace
}  // namespace veltrin::controls
