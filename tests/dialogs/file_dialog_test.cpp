// Open and save: the filter and file buffers, and the real dialogs driven from a helper thread
// (typed names, multiple selection, cancel, hook events, long and Chinese names).
#include <windows.h>
#include <commdlg.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/run_time_error.h"
#include "dialog_driver.h"
#include "dialogs/common_dialog.h"
#include "dialogs/file_buffers.h"
#include "event_log.h"

namespace veltrin::dialogs {
namespace {

using namespace std::string_literals;
using testing::DialogDriver;
using testing::PressButton;
using testing::SetChildText;

constexpr int kFileNameBox = 0x47C;   // the explorer dialog's file-name combo box
constexpr int kFileNameEdit = 0x480;  // the file-name edit of the older dialogs

TEST(FileBuffers, FilterPipesBecomeNulsEndingInTwo) {
  EXPECT_EQ(ConvertFilter(L"A|*.a|B|*.b"), L"A\0*.a\0B\0*.b\0\0"s);
  EXPECT_EQ(ConvertFilter(L""), L"\0\0"s);
  EXPECT_EQ(ConvertFilter(L"A|*.a||"), L"A\0*.a\0\0"s);
  EXPECT_EQ(ConvertFilter(L"超文本标记语言文件(*.html)|*.html"),
            L"超文本标记语言文件(*.html)\0*.html\0\0"s);
}

TEST(FileBuffers, BufferHasTheCountedSizePlusATerminator) {
  const std::vector<wchar_t> empty = MakeFileBuffer(L"", 260);
  ASSERT_EQ(empty.size(), 261u);
  EXPECT_EQ(std::count(empty.begin(), empty.end(), L'\0'), 261);
  const std::vector<wchar_t> cut = MakeFileBuffer(L"abcdef", 4);
  EXPECT_EQ(std::wstring(cut.begin(), cut.end()), L"abcd\0"s);
}

// Wine's file dialog itself faults on names beyond 260 characters, so long names are checked on the
// buffers the class hands to and reads from the dialog.
TEST(FileBuffers, LongChineseNamesComeBackUnchangedOrCutToTheBuffer) {
  const std::wstring directory = L"C:\\" + std::wstring(100, L'd');
  const std::wstring name = std::wstring(200, L'长') + L".txt";
  const std::wstring path = directory + L"\\" + name;
  ASSERT_GT(path.size(), 260u);
  const ChosenFile chosen =
      ReadChosenFile(MakeFileBuffer(path, 1024), static_cast<int>(directory.size() + 1));
  EXPECT_EQ(chosen.file_name, path);
  EXPECT_EQ(chosen.file_title, name);
  const ChosenFile cut =
      ReadChosenFile(MakeFileBuffer(path, 260), static_cast<int>(directory.size() + 1));
  EXPECT_EQ(cut.file_name, path.substr(0, 260));
  EXPECT_EQ(CopyDialogFileText(path.c_str(), 1024).data(), path);
  EXPECT_EQ(std::wstring(CopyDialogFileText(path.c_str(), 260).data()), path.substr(0, 260));
}

TEST(FileBuffers, ReadsSingleAndMultipleChoicesWithinTheBuffer) {
  const ChosenFile single = ReadChosenFile(MakeFileBuffer(L"C:\\dir\\file.txt", 260), 7);
  EXPECT_EQ(single.file_name, L"C:\\dir\\file.txt");
  EXPECT_EQ(single.file_title, L"file.txt");

  const ChosenFile multiple = ReadChosenFile(MakeFileBuffer(L"C:\\dir\0a.txt\0b.txt\0\0"s, 260), 7);
  EXPECT_EQ(multiple.file_name, L"C:\\dir\0a.txt\0b.txt"s);
  EXPECT_EQ(multiple.file_title, L"");

  // A buffer filled to its last counted character ends at the extra terminator, never past it.
  const ChosenFile full = ReadChosenFile(MakeFileBuffer(L"C:\\abcdefgh", 8), 3);
  EXPECT_EQ(full.file_name, L"C:\\abcde");
  EXPECT_EQ(full.file_title, L"abcde");
  const ChosenFile full_multiple = ReadChosenFile(MakeFileBuffer(L"C:\\d\0abcdefgh"s, 8), 5);
  EXPECT_EQ(full_multiple.file_name, L"C:\\d\0abc"s);
  // An offset beyond the text gives an empty title instead of reading past it.
  EXPECT_EQ(ReadChosenFile(MakeFileBuffer(L"C:\\a", 8), 7).file_title, L"");
}

// A scratch folder with a few files, removed afterwards.
class FileDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::filesystem::path(temp) / (L"dlg文件夹" + std::to_wstring(GetCurrentProcessId()));
    std::filesystem::create_directories(folder_);
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"超文本.html"}) {
      std::ofstream(folder_ / name) << "x";
    }
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  std::wstring Folder() const { return folder_.wstring(); }

  std::filesystem::path folder_;
};

// Types `name` into the file-name field and presses OK.
std::function<void(HWND)> TypeAndConfirm(std::wstring name) {
  return [name](HWND dialog) {
    SetChildText(dialog, {kFileNameBox, kFileNameEdit}, name);
    PressButton(dialog, IDOK);
  };
}

TEST_F(FileDialogTest, OpenReturnsTheTypedFile) {
  CommonDialog dialog;
  dialog.SetFilter(L"超文本标记语言文件(*.html)|*.html|All|*.*");
  dialog.SetFilterIndex(2);
  dialog.SetFlags(OFN_ENABLESIZING);
  const std::wstring path = Folder() + L"\\a.txt";
  DialogDriver driver(TypeAndConfirm(path));
  ASSERT_TRUE(dialog.ShowOpen());
  EXPECT_TRUE(driver.Ran());
  EXPECT_EQ(dialog.FileName(), path);
  EXPECT_EQ(dialog.FileTitle(), L"a.txt");
  EXPECT_EQ(dialog.FileOffset(), static_cast<int16_t>(Folder().size() + 1));
  EXPECT_EQ(dialog.FilterIndex(), 2);
  EXPECT_EQ(dialog.Flags() & OFN_ENABLESIZING, 0) << "the sizing bit is always stripped";
}

TEST_F(FileDialogTest, SaveReturnsAChineseName) {
  CommonDialog dialog;
  dialog.SetInitDir(Folder());
  DialogDriver driver(TypeAndConfirm(L"新文件.txt"));
  ASSERT_TRUE(dialog.ShowSave());
  EXPECT_EQ(dialog.FileName(), Folder() + L"\\新文件.txt");
  EXPECT_EQ(dialog.FileTitle(), L"新文件.txt");
}

TEST_F(FileDialogTest, ExplorerMultipleSelectionListsDirectoryAndNames) {
  CommonDialog dialog;
  dialog.SetInitDir(Folder());
  dialog.SetFlags(OFN_ALLOWMULTISELECT | OFN_EXPLORER);
  DialogDriver driver(TypeAndConfirm(L"\"a.txt\" \"b.txt\""));
  ASSERT_TRUE(dialog.ShowOpen());
  EXPECT_EQ(dialog.FileName(), Folder() + L"\0a.txt\0b.txt"s);
  EXPECT_EQ(dialog.FileTitle(), L"");
  EXPECT_EQ(dialog.FileOffset(), static_cast<int16_t>(Folder().size() + 1));
}

TEST_F(FileDialogTest, CancelChangesNothingOrRaises32755) {
  for (bool cancelError : {false, true}) {
    CommonDialog dialog;
    dialog.SetCancelError(cancelError);
    dialog.SetFileName(L"C:\\keep.txt");
    dialog.SetFilterIndex(3);
    dialog.SetFlags(OFN_ENABLESIZING);
    for (bool save : {false, true}) {
      DialogDriver driver(testing::PressCancel());
      if (cancelError) {
        try {
          save ? dialog.ShowSave() : dialog.ShowOpen();
          ADD_FAILURE() << "no error";
        } catch (const RunTimeError& error) {
          EXPECT_EQ(error.Number(), 32755);
          EXPECT_EQ(error.Description(), u"Cancel was selected.");
        }
      } else {
        EXPECT_FALSE(save ? dialog.ShowSave() : dialog.ShowOpen());
      }
      EXPECT_TRUE(driver.Ran());
      EXPECT_EQ(dialog.FileName(), L"C:\\keep.txt");
      EXPECT_EQ(dialog.FileTitle(), L"");
      EXPECT_EQ(dialog.FileOffset(), 0);
      EXPECT_EQ(dialog.FilterIndex(), 3);
      EXPECT_EQ(dialog.Flags(), OFN_ENABLESIZING);
    }
  }
}

// Logs the file events; the first FileValidate can be refused.
class FileEvents : public testing::EventLog {
 public:
  void InitDialog(int16_t action, HWND dialog) override {
    Log(L"InitDialog " + std::to_wstring(action));
    EXPECT_NE(dialog, nullptr);
  }
  void FileValidate(const std::wstring& file_name, const std::wstring& file_title,
                    int16_t file_offset, bool& cancel, HWND) override {
    Log(L"FileValidate " + file_title + L" " + std::to_wstring(file_offset) + L" " +
        std::to_wstring(file_name.size()));
    if (refuse_next) {
      refuse_next = false;
      cancel = true;
    }
  }
  bool refuse_next = false;
};

TEST_F(FileDialogTest, HookRaisesInitDialogAndFileValidateInBothStyles) {
  for (const int32_t style : {OFN_EXPLORER, 0}) {
    CommonDialog dialog;
    FileEvents events;
    dialog.SetEventSink(&events);
    dialog.SetHookEvents(true);
    dialog.SetFlags(style);
    const std::wstring path = Folder() + L"\\b.txt";
    DialogDriver driver(TypeAndConfirm(path));
    ASSERT_TRUE(dialog.ShowOpen()) << style;
    const std::wstring offset = std::to_wstring(Folder().size() + 1);
    events.Expect(
        {L"InitDialog 1", L"FileValidate b.txt " + offset + L" " + std::to_wstring(path.size())});
    EXPECT_EQ(dialog.FileName(), path);
    EXPECT_EQ(dialog.Flags() & (OFN_ENABLEHOOK | OFN_ENABLESIZING), 0);
  }
}

TEST_F(FileDialogTest, RefusedFileValidateKeepsTheDialogOpen) {
  CommonDialog dialog;
  FileEvents events;
  events.refuse_next = true;
  dialog.SetEventSink(&events);
  dialog.SetHookEvents(true);
  dialog.SetFlags(OFN_EXPLORER);
  const std::wstring path = Folder() + L"\\a.txt";
  DialogDriver driver([path](HWND window) {
    TypeAndConfirm(path)(window);
    Sleep(300);
    PressButton(window, IDOK);  // still open: the first OK was refused
  });
  ASSERT_TRUE(dialog.ShowSave());
  const std::wstring offset = std::to_wstring(Folder().size() + 1);
  const std::wstring validate =
      L"FileValidate a.txt " + offset + L" " + std::to_wstring(path.size());
  events.Expect({L"InitDialog 2", validate, validate});
}

// Logs FileShareViolation and answers it with `answer`.
class ShareEvents : public testing::EventLog {
 public:
  void InitDialog(int16_t action, HWND) override { Log(L"InitDialog " + std::to_wstring(action)); }
  void FileShareViolation(const std::wstring& file_name, int32_t& result, HWND dialog) override {
    Log(L"FileShareViolation " + file_name);
    EXPECT_NE(dialog, nullptr);
    result = answer;
  }
  int32_t answer = OFN_SHAREFALLTHROUGH;
};

// Wine's dialogs never report a sharing violation themselves, so the driver sends the dialog the
// notification (explorer style) or the registered message (old style) that a system sends.
TEST(FileShareViolation, RaisedWithTheFileNameAndItsResultAnswered) {
  const wchar_t kLocked[] = L"C:\\共享\\locked.txt";
  for (const bool explorer : {true, false}) {
    CommonDialog dialog;
    ShareEvents events;
    dialog.SetEventSink(&events);
    dialog.SetHookEvents(true);
    dialog.SetFlags(explorer ? OFN_EXPLORER : 0);
    LRESULT answered = 0;
    {
      DialogDriver driver([&](HWND window) {
        if (explorer) {
          // The hook runs the child dialog that the explorer dialog makes for it.
          const HWND hooked = FindWindowExW(window, nullptr, L"#32770", nullptr);
          OFNOTIFYW notify{};
          notify.hdr.hwndFrom = window;
          notify.hdr.code = CDN_SHAREVIOLATION;
          notify.pszFile = const_cast<wchar_t*>(kLocked);
          answered = SendMessageW(hooked, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notify));
        } else {
          SendMessageW(window, RegisterWindowMessageW(SHAREVISTRINGW), 0,
                       reinterpret_cast<LPARAM>(kLocked));
        }
        PressButton(window, IDCANCEL);
      });
      EXPECT_FALSE(dialog.ShowOpen());
    }
    events.Expect({L"InitDialog 1", L"FileShareViolation "s + kLocked});
    if (explorer) {
      EXPECT_EQ(answered, OFN_SHAREFALLTHROUGH) << "the answer is the message result";
    }
  }
}

}  // namespace
}  // namespace veltrin::dialogs
