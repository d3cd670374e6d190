// The scratch folder of the window tests.
#include "tests/desktop/window_test_support.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include <shellapi.h>

namespace veltrin::test {

ScratchFolder::ScratchFolder() {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  static int counter = 0;
  folder_ = std::wstring(temp) + L"窗口测试 " + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter) + L"\\";
  CreateDirectoryW(folder_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() {
  std::wstring from = folder_.substr(0, folder_.size() - 1);
  from.push_back(L'\0');  // the list ends with two NULs
  SHFILEOPSTRUCTW operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_NO_UI;
  SHFileOperationW(&operation);
}

std::wstring ScratchFolder::Write(const std::wstring& name, const std::string& bytes) const {
  const std::wstring path = Path(name);
  std::ofstream(std::filesystem::path(path), std::ios::binary | std::ios::trunc) << bytes;
  return path;
}

std::string ScratchFolder::Read(const std::wstring& name) const {
  std::ifstream file(std::filesystem::path(Path(name)), std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace veltrin::test
