// What the window tests share: a scratch folder with a Chinese name, files in it, a sample page.
#pragma once

#include <windows.h>

#include <string>

namespace veltrin::test {

// A sample page: two paragraphs, one with a blocked word, and text outside paragraphs.
inline constexpr char kSamplePage[] =
    "<html><head><title>标题</title></head>\n<body>\n<p>第一段，广告在这里。</p>\n"
    "<div>不是段落</div>\n<p class=\"x\">第二段\n继续！</p>\n</body></html>\n";

// A fresh folder under the temporary folder whose name holds Chinese characters; removed with
// everything in it when the object goes.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // The full path of a file in the folder.
  std::wstring Path(const std::wstring& name) const { return folder_ + name; }
  // Writes bytes to a file in the folder and returns its full path.
  std::wstring Write(const std::wstring& name, const std::string& bytes) const;
  // Returns the bytes of a file in the folder (empty when missing).
  std::string Read(const std::wstring& name) const;

 private:
  std::wstring folder_;  // ends with a backslash
};

}  // namespace veltrin::test
