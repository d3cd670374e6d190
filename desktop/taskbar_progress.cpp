// The taskbar button's progress through ITaskbarList3.
#include "desktop/taskbar_progress.h"

namespace veltrin::window {

ITaskbarList3* TaskbarProgress::List() noexcept {
  if (!tried_) {
    tried_ = true;
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                list_.PutVoid())) ||
        FAILED(list_->HrInit())) {
      list_.Reset();
    }
  }
  return list_.Get();
}

void TaskbarProgress::Show(std::uint64_t received, std::uint64_t total) noexcept {
  ITaskbarList3* list = List();
  if (!list) return;
  if (total == 0) {
    list->SetProgressState(window_, TBPF_INDETERMINATE);
    return;
  }
  list->SetProgressState(window_, TBPF_NORMAL);
  list->SetProgressValue(window_, received < total ? received : total, total);
}

void TaskbarProgress::Clear() noexcept {
  if (list_) list_->SetProgressState(window_, TBPF_NOPROGRESS);
}

}  // namespace veltrin::window
