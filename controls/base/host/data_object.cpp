// Our own IDataObject (global-memory formats with deferred rendering) and the DataObject view that
// controls use on both sides of a drag.
#include "controls/base/host/data_object.h"

#include <shlobj.h>

#include <algorithm>
#include <cstring>

#include "common/run_time_error.h"
#include "controls/base/com_object.h"
#include "controls/base/global_memory.h"

namespace veltrin::controls {
namespace {

bool IsGlobalContent(const FORMATETC& format) noexcept {
  return (format.tymed & TYMED_HGLOBAL) && format.dwAspect == DVASPECT_CONTENT &&
         format.ptd == nullptr;
}

FORMATETC GlobalFormat(CLIPFORMAT format) noexcept {
  return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

// Copies bytes into new movable global memory; null when memory runs out.
HGLOBAL ToGlobal(const ByteArray& bytes) noexcept {
  try {
    return GlobalMemory::Copy(bytes.data(), bytes.size()).Detach();
  } catch (...) {
    return nullptr;
  }
}

ByteArray FromGlobal(HGLOBAL memory) {
  const GlobalLockScope lock(memory);
  if (!lock) return {};
  const auto* source = lock.As<const uint8_t>();
  return ByteArray(source, source + lock.Size());
}

class FormatEnumerator : public ComObject<IEnumFORMATETC> {
 public:
  FormatEnumerator(std::vector<FORMATETC> formats, size_t position)
      : formats_(std::move(formats)), position_(position) {}

  HRESULT STDMETHODCALLTYPE Next(ULONG count, FORMATETC* out, ULONG* fetched) override {
    if (!out || (count > 1 && !fetched)) return E_POINTER;
    ULONG done = 0;
    while (done < count && position_ < formats_.size()) out[done++] = formats_[position_++];
    if (fetched) *fetched = done;
    return done == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    position_ = std::min(formats_.size(), position_ + static_cast<size_t>(count));
    return position_ < formats_.size() ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    position_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC** copy) override {
    if (!copy) return E_POINTER;
    try {
      *copy = new FormatEnumerator(formats_, position_);
    } catch (...) {
      *copy = nullptr;
      return E_OUTOFMEMORY;  // nothing may leave a COM method
    }
    return S_OK;
  }

 private:
  virtual ~FormatEnumerator() = default;
  std::vector<FORMATETC> formats_;
  size_t position_;
};

}  // namespace

class DataStore : public ComObject<IDataObject> {
 public:
  struct Entry {
    CLIPFORMAT format;
    ByteArray bytes;
    bool rendered;  // false: offered, the bytes come from the render handler on request
  };

  void Put(CLIPFORMAT format, ByteArray bytes, bool rendered) {
    auto found = Find(format);
    if (found != entries_.end()) {
      found->bytes = std::move(bytes);
      found->rendered = rendered;
    } else {
      entries_.push_back({format, std::move(bytes), rendered});
    }
  }
  void Clear() noexcept { entries_.clear(); }
  void SetRenderHandler(std::function<void(int32_t)> handler) { render_ = std::move(handler); }

  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (!format || !medium) return E_INVALIDARG;
    *medium = STGMEDIUM{};
    if (!IsGlobalContent(*format)) return DV_E_FORMATETC;
    auto found = Find(format->cfFormat);
    if (found == entries_.end()) return DV_E_FORMATETC;
    if (!found->rendered && render_) {
      try {
        render_(format->cfFormat);
      } catch (...) {
        return E_UNEXPECTED;
      }
      found = Find(format->cfFormat);
    }
    if (found == entries_.end() || !found->rendered) return DV_E_FORMATETC;
    HGLOBAL memory = ToGlobal(found->bytes);
    if (!memory) return E_OUTOFMEMORY;
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = memory;
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    if (!format) return E_INVALIDARG;
    if (!IsGlobalContent(*format)) return DV_E_FORMATETC;
    return Find(format->cfFormat) != entries_.end() ? S_OK : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    if (out) out->ptd = nullptr;
    return DATA_S_SAMEFORMATETC;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override {
    if (!format || !medium) return E_INVALIDARG;
    if (!IsGlobalContent(*format) || medium->tymed != TYMED_HGLOBAL) return DV_E_FORMATETC;
    try {
      Put(format->cfFormat, FromGlobal(medium->hGlobal), true);
    } catch (...) {
      return E_OUTOFMEMORY;
    }
    if (release) ReleaseStgMedium(medium);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (direction != DATADIR_GET) return E_NOTIMPL;
    try {
      std::vector<FORMATETC> formats;
      for (const Entry& entry : entries_) formats.push_back(GlobalFormat(entry.format));
      *out = new FormatEnumerator(std::move(formats), 0);
    } catch (...) {
      return E_OUTOFMEMORY;  // nothing may leave a COM method
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA** out) override {
    if (out) *out = nullptr;
    return OLE_E_ADVISENOTSUPPORTED;
  }

 private:
  virtual ~DataStore() = default;
  std::vector<Entry>::iterator Find(CLIPFORMAT format) {
    return std::find_if(entries_.begin(), entries_.end(),
                        [format](const Entry& e) { return e.format == format; });
  }

  std::vector<Entry> entries_;           // in the order offered
  std::function<void(int32_t)> render_;  // renders an offered format on request
};

ComPtr<IDataObject> CreateDataStore() {
  return ComPtr<IDataObject>::Attach(new DataStore());
}

DataObject::DataObject(ComPtr<IDataObject> object) : object_(std::move(object)) {}

DataObject::DataObject() {
  auto* store = new DataStore();
  object_ = ComPtr<IDataObject>::Attach(store);
  store_ = store;
}

DataObject::~DataObject() {
  // The store may outlive us inside OLE; it must not call back into a dead handler.
  if (store_) store_->SetRenderHandler(nullptr);
}

DataStore& DataObject::Store() const {
  if (!store_) throw RunTimeError(kInvalidProcedureCall);
  return *store_;
}

bool DataObject::GetFormat(int32_t format) const {
  FORMATETC wanted = GlobalFormat(static_cast<CLIPFORMAT>(format));
  return object_ && object_->QueryGetData(&wanted) == S_OK;
}

PropertyValue DataObject::GetData(int32_t format) const {
  FORMATETC wanted = GlobalFormat(static_cast<CLIPFORMAT>(format));
  StorageMedium medium;
  if (!object_ || FAILED(object_->GetData(&wanted, medium.Put()))) {
    throw RunTimeError(kInvalidProcedureCall);
  }
  if (medium.Get().tymed != TYMED_HGLOBAL) throw RunTimeError(kInvalidProcedureCall);
  ByteArray bytes = FromGlobal(medium.Get().hGlobal);
  medium.Reset();
  if (format != CF_TEXT) return PropertyValue(std::move(bytes));
  const auto end = std::find(bytes.begin(), bytes.end(), uint8_t{0});
  const int length = static_cast<int>(end - bytes.begin());
  std::wstring text(static_cast<size_t>(length), L'\0');
  if (length > 0) {
    const int made = MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(bytes.data()),
                                         length, text.data(), length);
    text.resize(static_cast<size_t>(std::max(made, 0)));
  }
  return PropertyValue(std::move(text));
}

void DataObject::SetData(const PropertyValue& value, int32_t format) {
  DataStore& store = Store();
  const auto clip_format = static_cast<CLIPFORMAT>(format);
  if (value.IsEmpty()) {
    store.Put(clip_format, {}, false);
    return;
  }
  if (value.Type() != ValueType::kString) {
    store.Put(clip_format, value.ToBytes(), true);
    return;
  }
  const std::wstring text = value.ToString();
  ByteArray bytes;
  if (format == CF_TEXT) {
    const int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    bytes.resize(static_cast<size_t>(std::max(size, 1)));
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, reinterpret_cast<char*>(bytes.data()), size,
                        nullptr, nullptr);
  } else {
    bytes = PropertyValue(text + L'\0').ToBytes();
  }
  store.Put(clip_format, std::move(bytes), true);
}

std::vector<std::wstring> DataObject::Files() const {
  std::vector<std::wstring> files;
  if (!GetFormat(CF_HDROP)) return files;
  const ByteArray bytes = GetData(CF_HDROP).ToBytes();
  if (bytes.size() < sizeof(DROPFILES)) return files;
  DROPFILES header;
  std::memcpy(&header, bytes.data(), sizeof header);
  size_t at = header.pFiles;
  while (at < bytes.size()) {
    std::wstring name;
    if (header.fWide) {
      for (; at + 1 < bytes.size(); at += 2) {
        const wchar_t unit = static_cast<wchar_t>(bytes[at] | (bytes[at + 1] << 8));
        if (unit == L'\0') break;
        name.push_back(unit);
      }
      at += 2;
    } else {
      const size_t start = at;
      while (at < bytes.size() && bytes[at] != 0) ++at;
      const int length = static_cast<int>(at - start);
      name.resize(static_cast<size_t>(length));
      const int made = MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(&bytes[start]),
                                           length, name.data(), length);
      name.resize(static_cast<size_t>(std::max(made, 0)));
      ++at;
    }
    if (name.empty()) break;
    files.push_back(std::move(name));
  }
  return files;
}

void DataObject::SetFiles(const std::vector<std::wstring>& files) {
  DataStore& store = Store();
  std::wstring list;
  for (const auto& file : files) list.append(file).push_back(L'\0');
  list.push_back(L'\0');
  DROPFILES header{};
  header.pFiles = sizeof(DROPFILES);
  header.fWide = TRUE;
  ByteArray bytes(sizeof header);
  std::memcpy(bytes.data(), &header, sizeof header);
  const ByteArray names = PropertyValue(list).ToBytes();
  bytes.insert(bytes.end(), names.begin(), names.end());
  store.Put(CF_HDROP, std::move(bytes), true);
}

void DataObject::Clear() {
  Store().Clear();
}

void DataObject::SetRenderHandler(std::function<void(int32_t format)> handler) {
  if (store_) store_->SetRenderHandler(std::move(handler));
}

}  // namespace veltrin::controls
