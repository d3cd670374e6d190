// ShowFolderBrowser: the shell's folder browser started at RootFolder, with its callback events
// (FolderBrowserHook).
#include <windows.h>
#include <shlobj.h>

#include <memory>

#include "dialogs/common_dialog.h"
#include "dialogs/dialog_errors.h"
#include "dialogs/dialog_hooks.h"
#include "dialogs/dialog_internal.h"
#include "dialogs/owner_window.h"

namespace veltrin::dialogs {
namespace {

struct ItemListFree {
  void operator()(LPITEMIDLIST list) const noexcept { CoTaskMemFree(list); }
};
using UniqueItemList = std::unique_ptr<ITEMIDLIST, ItemListFree>;

UniqueItemList RootList(const controls::PropertyValue& root) {
  using controls::ValueType;
  LPITEMIDLIST list = nullptr;
  switch (root.Type()) {
    case ValueType::kEmpty:
      return nullptr;
    case ValueType::kString: {
      const std::wstring path = root.ToString().substr(0, MAX_PATH);
      return UniqueItemList(ILCreateFromPathW(path.c_str()));
    }
    default:
      SHGetFolderLocation(nullptr, root.ToLong(), nullptr, 0, &list);
      return UniqueItemList(list);
  }
}

// Returns the path of `list` ("" when it has none) and whether it has one.
std::pair<std::wstring, bool> PathOf(LPCITEMIDLIST list) {
  wchar_t buffer[MAX_PATH + 1] = {};
  const bool found = SHGetPathFromIDListW(list, buffer) != FALSE;
  return {buffer, found};
}

void AddTrailingBackslash(std::wstring& path) {
  if (!path.empty() && path.back() != L'\\') path.push_back(L'\\');
}

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_DIRECTORY | 0x8 /* volume */)) != 0;
}

// The browser's callback: `data` is the FolderBrowserHook.
int CALLBACK FolderBrowserCallback(HWND window, UINT message, LPARAM l_param,
                                   LPARAM data) noexcept {
  auto* hook = reinterpret_cast<FolderBrowserHook*>(data);
  if (hook == nullptr) return 0;
  return static_cast<int>(DialogHook::Deliver(*hook, window, message, 0, l_param));
}

}  // namespace

bool CommonDialog::ShowFolderBrowser() {
  const controls::CallScope call(*this);  // an event may delete the dialog meanwhile
  UniqueItemList root = RootList(root_folder_);
  BROWSEINFOW info{};
  info.hwndOwner = DialogOwnerWindow();
  info.pidlRoot = root.get();
  info.lpszTitle = dialog_title_.empty() ? nullptr : dialog_title_.c_str();
  info.ulFlags = static_cast<UINT>(flags_);
  FolderBrowserHook hook(*this);
  info.lpfn = FolderBrowserCallback;
  info.lParam = reinterpret_cast<LPARAM>(&hook);
  UniqueItemList chosen(SHBrowseForFolderW(&info));
  root.reset();
  if (!chosen) return FailCancelled();
  std::wstring path = PathOf(chosen.get()).first;
  chosen.reset();
  if (IsFolder(path)) {
    AddTrailingBackslash(path);
    file_offset_ = 0;
    file_title_.clear();
  } else {
    const size_t slash = path.rfind(L'\\');
    file_offset_ = static_cast<int16_t>(slash == std::wstring::npos ? 0 : slash + 1);
    file_title_ = path.substr(static_cast<size_t>(file_offset_));
  }
  file_name_ = std::move(path);
  return true;
}

template <>
LRESULT FolderBrowserHook::OnHook(HWND dialog, UINT message, WPARAM, LPARAM l_param) {
  switch (message) {
    case BFFM_INITIALIZED:
      if (!dialog_.init_dir_.empty()) {
        SendMessageW(dialog, BFFM_SETSELECTIONW, 1,
                     reinterpret_cast<LPARAM>(dialog_.init_dir_.c_str()));
      }
      RaiseInitDialog(dialog);
      return 0;
    case BFFM_SELCHANGED: {
      if (l_param == 0) return 0;
      auto [path, found] = PathOf(reinterpret_cast<LPCITEMIDLIST>(l_param));
      if (IsFolder(path)) AddTrailingBackslash(path);
      if ((dialog_.flags_ & BIF_STATUSTEXT) != 0) {
        SendMessageW(dialog, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(path.c_str()));
      }
      if ((dialog_.flags_ & BIF_RETURNONLYFSDIRS) != 0) {
        SendMessageW(dialog, BFFM_ENABLEOK, 0, found ? 1 : 0);
      }
      return 0;
    }
    case BFFM_VALIDATEFAILEDW: {
      const std::wstring text = l_param == 0 ? L"" : reinterpret_cast<const wchar_t*>(l_param);
      bool cancel = false;
      RaiseEvent([&](CommonDialogEvents& events) {
        events.FolderBrowserValidateFailed(text, cancel, dialog);
      });
      return cancel ? 1 : 0;
    }
    default:
      return 0;
  }
}

}  // namespace veltrin::dialogs
