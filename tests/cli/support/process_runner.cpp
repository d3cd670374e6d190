// The child-process runner of the command-line tests: posix_spawn on Linux, CreateProcessW on
// Windows.
#include "tests/cli/support/process_runner.h"

#include <fstream>
#include <iterator>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "core/utf8.h"

namespace veltrin::test {

namespace {

std::string ReadAll(const std::filesystem::path& file) {
  std::ifstream stream(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

#ifdef _WIN32
// Quotes one argument so that CommandLineToArgvW gives it back unchanged.
std::wstring QuoteArgument(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
    return argument;
  }
  std::wstring quoted = L"\"";
  for (auto it = argument.begin();; ++it) {
    size_t backslashes = 0;
    while (it != argument.end() && *it == L'\\') {
      ++it;
      ++backslashes;
    }
    if (it == argument.end()) {
      quoted.append(backslashes * 2, L'\\');
      break;
    }
    if (*it == L'"') {
      quoted.append(backslashes * 2 + 1, L'\\');
    } else {
      quoted.append(backslashes, L'\\');
    }
    quoted += *it;
  }
  return quoted + L"\"";
}

HANDLE OpenInheritable(const std::filesystem::path& file, bool write) {
  SECURITY_ATTRIBUTES security{sizeof(security), nullptr, TRUE};
  return CreateFileW(file.c_str(), write ? GENERIC_WRITE : GENERIC_READ,
                     FILE_SHARE_READ | FILE_SHARE_WRITE, &security,
                     write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

int Spawn(const std::filesystem::path& program, const std::vector<std::u16string>& arguments,
          const std::filesystem::path& folder, const std::filesystem::path& in,
          const std::filesystem::path& out, const std::filesystem::path& err) {
  std::wstring command_line = QuoteArgument(program.wstring());
  for (const auto& argument : arguments) {
    command_line += L" " + QuoteArgument(std::wstring(argument.begin(), argument.end()));
  }
  HANDLE streams[3] = {OpenInheritable(in, false), OpenInheritable(out, true),
                       OpenInheritable(err, true)};
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = streams[0];
  startup.hStdOutput = streams[1];
  startup.hStdError = streams[2];
  PROCESS_INFORMATION process{};
  // No console of its own (no CREATE_NO_WINDOW): under Wine a separate console host keeps the
  // inherited stream handles open after the child has ended, and the files stay locked.
  const BOOL started =
      CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                     folder.empty() ? nullptr : folder.c_str(), &startup, &process);
  for (HANDLE stream : streams) {
    if (stream != INVALID_HANDLE_VALUE) CloseHandle(stream);
  }
  if (!started) return -1;
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(code);
}
#else
int Spawn(const std::filesystem::path& program, const std::vector<std::u16string>& arguments,
          const std::filesystem::path& folder, const std::filesystem::path& in,
          const std::filesystem::path& out, const std::filesystem::path& err) {
  std::vector<std::string> strings{program.string()};
  for (const auto& argument : arguments) strings.push_back(TextToUtf8(argument));
  std::vector<char*> argv;
  for (auto& s : strings) argv.push_back(s.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  pid_t child = 0;
  const int failed = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) return -1;
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}
#endif

}  // namespace

std::filesystem::path HostPath(std::string path) {
#ifdef _WIN32
  if (path.starts_with('/')) path = "Z:" + path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
#endif
  return std::filesystem::u8path(path);
}

ProcessResult RunProcess(const std::filesystem::path& program,
                         const std::vector<std::u16string>& arguments, const std::string& input,
                         const std::filesystem::path& folder,
                         const std::filesystem::path& scratch) {
  // Fresh files for every run, so that no run can ever read what an earlier child left behind.
  static int run_number = 0;
  const std::string suffix = std::to_string(++run_number) + ".bin";
  const auto in = scratch / ("stdin" + suffix);
  const auto out = scratch / ("stdout" + suffix);
  const auto err = scratch / ("stderr" + suffix);
  std::ofstream(in, std::ios::binary) << input;
  ProcessResult result;
  result.exit_code = Spawn(program, arguments, folder, in, out, err);
  result.out = ReadAll(out);
  result.err = ReadAll(err);
  return result;
}

}  // namespace veltrin::test
