// The data object of OLE drag and drop as the controls see it: formats, data and dropped files
// over an IDataObject (our own store when the control is the drag source).
#pragma once

#include <windows.h>
#include <ole2.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "controls/base/com_ptr.h"
#include "controls/base/host/property_value.h"

namespace veltrin::controls {

class DataStore;

class DataObject {
 public:
  // Wraps a foreign data object (a drop target's view): reading works, writing raises error 5.
  explicit DataObject(ComPtr<IDataObject> object);
  // A new, empty, writable data object of our own.
  DataObject();
  ~DataObject();
  DataObject(const DataObject&) = delete;
  DataObject& operator=(const DataObject&) = delete;

  // True when the data is offered in `format` (a clipboard format) as global memory.
  bool GetFormat(int32_t format) const;
  // The data in `format`: CF_TEXT as a String (decoded from the ANSI code page up to its NUL), any
  // other format as the bytes of its memory block. Raises error 5 when the format is not
  // offered or cannot be read.
  PropertyValue GetData(int32_t format) const;
  // Offers `value` in `format`: a byte array as it is; a String as text with a terminating NUL
  // (ANSI for CF_TEXT, UTF-16 otherwise); an empty value offers the format without data, to be
  // rendered on request through the set-data handler. Raises error 5 on a foreign object.
  void SetData(const PropertyValue& value, int32_t format);
  // The file names of CF_HDROP, in order; empty when the format is not offered.
  std::vector<std::wstring> Files() const;
  // Offers `files` as CF_HDROP (wide names). Raises error 5 on a foreign object.
  void SetFiles(const std::vector<std::wstring>& files);
  // Removes every format. Raises error 5 on a foreign object.
  void Clear();

  // Sets what runs when a consumer asks for a format offered without data (our own store only).
  void SetRenderHandler(std::function<void(int32_t format)> handler);
  // The underlying COM object (no reference added).
  IDataObject* Get() const noexcept { return object_.Get(); }

 private:
  DataStore& Store() const;

  ComPtr<IDataObject> object_;  // the data
  DataStore* store_ = nullptr;  // the same object when it is ours, else null
};

// Creates our own empty IDataObject (global-memory formats, a format enumerator), for callers that
// work with IDataObject directly.
ComPtr<IDataObject> CreateDataStore();

}  // namespace veltrin::controls
