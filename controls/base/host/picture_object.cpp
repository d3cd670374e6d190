// Destroys a picture's handle with the function that matches its type.
#include "controls/base/host/picture_object.h"

#include <utility>

namespace veltrin::controls {

PictureObject::PictureObject(HANDLE handle, PictureType type) noexcept
    : handle_(handle), type_(type) {}

PictureObject::~PictureObject() {
  if (!handle_) return;
  switch (type_) {
    case PictureType::kIcon:
      DestroyIcon(static_cast<HICON>(handle_));
      break;
    case PictureType::kMetafile:
      DeleteMetaFile(static_cast<HMETAFILE>(handle_));
      break;
    case PictureType::kEnhMetafile:
      DeleteEnhMetaFile(static_cast<HENHMETAFILE>(handle_));
      break;
    case PictureType::kBitmap:
    case PictureType::kNone:
      DeleteObject(static_cast<HGDIOBJ>(handle_));
      break;
  }
}

HANDLE PictureObject::Detach() noexcept {
  return std::exchange(handle_, nullptr);
}

}  // namespace veltrin::controls
