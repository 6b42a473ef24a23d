// A small program the process tests start:
//   exit N          ends at once with exit code N
//   say TEXT        writes TEXT on standard error
//   flood N         writes N bytes on standard error
//   args FILE A...  writes each further argument on its own line into FILE
//                   (as UTF-8; on Windows taken from the wide command line)
//   late FILE       waits a moment, then writes "done" into FILE
//   hold FILE       runs while FILE exists (at most an hour); the Windows
//                   test script uses it to keep Wine's services running
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <windows.h>
// After windows.h, whose types it uses.
#include <shellapi.h>
#endif

namespace {

// The arguments as UTF-8. Windows hands main() its arguments in the ANSI
// code page, which loses what it cannot hold; the wide command line keeps
// everything.
std::vector<std::string> utf8Arguments(int argc, char** argv) {
#ifdef _WIN32
  (void)argv;
  std::vector<std::string> out;
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  for (int i = 0; wide != nullptr && i < count && i < argc; ++i) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
    std::string text(size > 0 ? static_cast<std::size_t>(size - 1) : 0, '\0');
    if (size > 1)
      ::WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, text.data(), size, nullptr, nullptr);
    out.push_back(text);
  }
  ::LocalFree(wide);
  return out;
#else
  return std::vector<std::string>(argv, argv + argc);
#endif
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  std::string mode = argv[1];
  if (mode == "exit") return std::atoi(argv[2]);
  if (mode == "say") {
    std::fputs(argv[2], stderr);
    return 1;
  }
  if (mode == "flood") {
    std::string chunk(4096, 'e');
    for (long left = std::atol(argv[2]); left > 0; left -= 4096)
      std::fwrite(chunk.data(), 1, left < 4096 ? left : 4096, stderr);
    return 0;
  }
  if (mode == "hold") {
    for (int i = 0; i < 18000; ++i) {
      std::FILE* flag = std::fopen(argv[2], "rb");
      if (!flag) return 0;
      std::fclose(flag);
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    return 0;
  }
  if (mode == "args" || mode == "late") {
    if (mode == "late") std::this_thread::sleep_for(std::chrono::milliseconds(300));
    std::FILE* out = std::fopen(argv[2], "wb");
    if (!out) return 3;
    if (mode == "late") std::fputs("done\n", out);
    const std::vector<std::string> arguments = utf8Arguments(argc, argv);
    for (std::size_t i = 3; i < arguments.size(); ++i)
      std::fprintf(out, "%s\n", arguments[i].c_str());
    std::fclose(out);
    return 0;
  }
  return 2;
}
