// The events a CommonDialog raises while one of its dialogs is open. By-reference arguments start
// as 0 / false and are read back after the handler returns.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace veltrin::dialogs {

// Override the events you want; the rest do nothing.
class CommonDialogEvents {
 public:
  virtual ~CommonDialogEvents() = default;

  virtual void InitDialog(int16_t /*action*/, HWND /*dialog*/) {}
  virtual void Help(bool& /*handled*/, int16_t /*action*/, HWND /*dialog*/) {}
  virtual void FileShareViolation(const std::wstring& /*file_name*/, int32_t& /*result*/,
                                  HWND /*dialog*/) {}
  virtual void FileValidate(const std::wstring& /*file_name*/, const std::wstring& /*file_title*/,
                            int16_t /*file_offset*/, bool& /*cancel*/, HWND /*dialog*/) {}
  virtual void ColorValidate(int32_t& /*rgbColor*/, bool& /*cancel*/, HWND /*dialog*/) {}
  virtual void FontApply(int32_t /*flags*/, const std::wstring& /*fontName*/, float /*fontSize*/,
                         bool /*bold*/, bool /*italic*/, bool /*strikethru*/, bool /*underline*/,
                         int16_t /*charset*/, int32_t /*rgbColor*/, HWND /*dialog*/) {}
  virtual void FolderBrowserValidateFailed(const std::wstring& /*text*/, bool& /*cancel*/,
                                           HWND /*dialog*/) {}
  virtual void FindNext() {}
  virtual void Replace() {}
  virtual void ReplaceAll() {}
};

}  // namespace veltrin::dialogs
