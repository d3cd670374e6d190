// Event sinks for the tests: events are logged as text and compared with an expected sequence,
// printing both on a mismatch.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/common_dialog_events.h"

namespace veltrin::dialogs::testing {

class EventLog : public CommonDialogEvents {
 public:
  void Log(std::wstring entry) { entries_.push_back(std::move(entry)); }
  const std::vector<std::wstring>& Entries() const { return entries_; }
  void Clear() { entries_.clear(); }

  // Fails the test with both sequences when the log differs from `expected`.
  void Expect(const std::vector<std::wstring>& expected) const {
    if (entries_ == expected) return;
    std::wstring text = L"expected:\n";
    for (const auto& entry : expected) text += L"  " + entry + L"\n";
    text += L"logged:\n";
    for (const auto& entry : entries_) text += L"  " + entry + L"\n";
    ADD_FAILURE() << ::testing::PrintToString(text);
  }

 private:
  std::vector<std::wstring> entries_;
};

}  // namespace veltrin::dialogs::testing
