// A picture property value: one owned GDI or user handle (bitmap, metafile, icon or enhanced
// metafile) with its type, destroyed the way its type requires.
#pragma once

#include <windows.h>

#include <cstdint>

namespace veltrin::controls {

// Picture types as the automation picture object numbers them.
enum class PictureType : int16_t {
  kNone = 0,
  kBitmap = 1,
  kMetafile = 2,
  kIcon = 3,
  kEnhMetafile = 4
};

class PictureObject {
 public:
  // Takes ownership of `handle`, which must be of `type` (a null handle makes an empty picture).
  PictureObject(HANDLE handle, PictureType type) noexcept;
  PictureObject(const PictureObject&) = delete;
  PictureObject& operator=(const PictureObject&) = delete;
  ~PictureObject();

  HANDLE Handle() const noexcept { return handle_; }
  // The type of the held handle; kNone while the picture is empty.
  PictureType Type() const noexcept { return handle_ ? type_ : PictureType::kNone; }
  // Gives up ownership; the picture becomes empty and the caller owns the handle.
  HANDLE Detach() noexcept;

 private:
  HANDLE handle_;     // the owned handle, or null
  PictureType type_;  // decides how the handle is destroyed
};

}  // namespace veltrin::controls
