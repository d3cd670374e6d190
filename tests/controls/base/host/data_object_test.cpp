// The drag-and-drop data object: text and file lists through the raw IDataObject, deferred
// rendering, and the key-state arguments of the drag notifications.
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <new>

#include "common/run_time_error.h"
#include "controls/base/host/data_object.h"
#include "controls/base/host/drag_drop.h"
#include "controls/base/host/user_control.h"

namespace veltrin::controls {
namespace {

FORMATETC Global(CLIPFORMAT format) {
  return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

ByteArray ReadRaw(IDataObject* object, CLIPFORMAT format) {
  FORMATETC wanted = Global(format);
  STGMEDIUM medium{};
  EXPECT_EQ(object->GetData(&wanted, &medium), S_OK);
  ByteArray bytes;
  if (medium.tymed != TYMED_HGLOBAL) return bytes;
  const auto* data = static_cast<const uint8_t*>(GlobalLock(medium.hGlobal));
  bytes.assign(data, data + GlobalSize(medium.hGlobal));
  GlobalUnlock(medium.hGlobal);
  ReleaseStgMedium(&medium);
  return bytes;
}

void WriteRaw(IDataObject* object, CLIPFORMAT format, const ByteArray& bytes) {
  FORMATETC wanted = Global(format);
  STGMEDIUM medium{};
  medium.tymed = TYMED_HGLOBAL;
  medium.hGlobal = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  std::memcpy(GlobalLock(medium.hGlobal), bytes.data(), bytes.size());
  GlobalUnlock(medium.hGlobal);
  ASSERT_EQ(object->SetData(&wanted, &medium, TRUE), S_OK);
}

TEST(DataObject, UnicodeTextRoundTripsThroughIDataObject) {
  DataObject data;
  const std::wstring text = L"拖放文字";
  data.SetData(PropertyValue(text), CF_UNICODETEXT);
  EXPECT_TRUE(data.GetFormat(CF_UNICODETEXT));
  EXPECT_FALSE(data.GetFormat(CF_TEXT));

  const ByteArray raw = ReadRaw(data.Get(), CF_UNICODETEXT);
  ASSERT_EQ(raw.size(), (text.size() + 1) * 2);  // with its terminating NUL
  EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(raw.data())), text);

  // A target sees the same through its own (foreign) view.
  DataObject target(ComPtr<IDataObject>(data.Get()));
  EXPECT_EQ(target.GetData(CF_UNICODETEXT).ToBytes(), raw);
  EXPECT_THROW(target.SetData(PropertyValue(L"x"), CF_TEXT), RunTimeError);

  data.SetData(PropertyValue(L"plain"), CF_TEXT);
  EXPECT_EQ(target.GetData(CF_TEXT).ToString(), L"plain");
  data.Clear();
  EXPECT_FALSE(target.GetFormat(CF_UNICODETEXT));
  EXPECT_THROW(target.GetData(CF_UNICODETEXT), RunTimeError);
}

TEST(DataObject, FileListsRoundTripAsHdrop) {
  const std::vector<std::wstring> files = {L"C:\\网页\\第一章.html", L"D:\\b.htm"};
  DataObject source;
  source.SetFiles(files);
  const ByteArray raw = ReadRaw(source.Get(), CF_HDROP);
  ASSERT_GT(raw.size(), sizeof(DROPFILES));
  DROPFILES header;
  std::memcpy(&header, raw.data(), sizeof header);
  EXPECT_TRUE(header.fWide);
  EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(raw.data() + header.pFiles)), files[0]);

  // A list written by someone else, in the ANSI form, reads back too.
  auto foreign = CreateDataStore();
  ByteArray ansi(sizeof(DROPFILES));
  DROPFILES narrow{};
  narrow.pFiles = sizeof(DROPFILES);
  std::memcpy(ansi.data(), &narrow, sizeof narrow);
  for (char c : std::string("C:\\x.txt")) ansi.push_back(static_cast<uint8_t>(c));
  ansi.insert(ansi.end(), {0, 0});
  WriteRaw(foreign.Get(), CF_HDROP, ansi);
  EXPECT_EQ(DataObject(foreign).Files(), std::vector<std::wstring>{L"C:\\x.txt"});
  EXPECT_EQ(DataObject(ComPtr<IDataObject>(source.Get())).Files(), files);
  EXPECT_TRUE(DataObject().Files().empty());
}

TEST(DataObject, OfferedFormatsAreRenderedOnRequest) {
  DataObject data;
  std::vector<int32_t> asked;
  data.SetRenderHandler([&](int32_t format) {
    asked.push_back(format);
    data.SetData(PropertyValue(ByteArray{1, 2, 3}), format);
  });
  data.SetData(PropertyValue(), CF_UNICODETEXT);
  EXPECT_TRUE(data.GetFormat(CF_UNICODETEXT));
  EXPECT_TRUE(asked.empty());
  EXPECT_EQ(ReadRaw(data.Get(), CF_UNICODETEXT), (ByteArray{1, 2, 3}));
  EXPECT_EQ(asked, std::vector<int32_t>{CF_UNICODETEXT});

  ComPtr<IEnumFORMATETC> formats;
  ASSERT_EQ(data.Get()->EnumFormatEtc(DATADIR_GET, formats.Put()), S_OK);
  FORMATETC first{};
  ULONG fetched = 0;
  EXPECT_EQ(formats->Next(1, &first, &fetched), S_OK);
  EXPECT_EQ(first.cfFormat, CF_UNICODETEXT);
  EXPECT_EQ(formats->Next(1, &first, &fetched), S_FALSE);
}

// A drop target whose control fails in every notification.
class FailingDropControl : public UserControl {
 protected:
  void OLEDragOver(DataObject&, int32_t& effect, int16_t, int16_t, float, float, int16_t) override {
    effect = DROPEFFECT_COPY;
    throw RunTimeError(kInvalidPropertyValue);
  }
  void OLEDragDrop(DataObject&, int32_t& effect, int16_t, int16_t, float, float) override {
    effect = DROPEFFECT_COPY;
    throw std::bad_alloc();
  }
};

TEST(DragDrop, TargetAnswersEveryCallWithAnHresultAndNoEffect) {
  FailingDropControl control;
  const ComPtr<IDropTarget> target = CreateControlDropTarget(control);
  const ComPtr<IDataObject> data = CreateDataStore();
  const POINTL point{5, 5};

  DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  EXPECT_EQ(target->DragEnter(data.Get(), MK_LBUTTON, point, &effect), S_OK);
  EXPECT_EQ(effect, DWORD{DROPEFFECT_NONE});
  effect = DROPEFFECT_COPY;
  EXPECT_EQ(target->DragOver(MK_LBUTTON, point, &effect), S_OK);
  EXPECT_EQ(effect, DWORD{DROPEFFECT_NONE});
  effect = DROPEFFECT_COPY;
  EXPECT_EQ(target->Drop(data.Get(), 0, point, &effect), S_OK);
  EXPECT_EQ(effect, DWORD{DROPEFFECT_NONE});

  // After the drop no data is held: a later DragOver offers nothing.
  effect = DROPEFFECT_COPY;
  EXPECT_EQ(target->DragOver(MK_LBUTTON, point, &effect), S_OK);
  EXPECT_EQ(effect, DWORD{DROPEFFECT_NONE});
  EXPECT_EQ(target->DragLeave(), S_OK);

  EXPECT_EQ(target->DragEnter(nullptr, 0, point, &effect), E_INVALIDARG);
  EXPECT_EQ(target->Drop(data.Get(), 0, point, nullptr), E_INVALIDARG);
}

TEST(DragDrop, KeyStatesBecomeButtonAndShift) {
  EXPECT_EQ(DragButtonState(MK_LBUTTON | MK_MBUTTON), 5);
  EXPECT_EQ(DragButtonState(MK_RBUTTON | MK_SHIFT), 2);
  EXPECT_EQ(DragShiftState(MK_SHIFT | MK_CONTROL | MK_ALT), 7);
  EXPECT_EQ(DragShiftState(MK_LBUTTON), 0);
}

}  // namespace
}  // namespace veltrin::controls
