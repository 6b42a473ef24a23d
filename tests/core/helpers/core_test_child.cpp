// A small program the process tests start:
//   exit N          ends at once with exit code N
//   say TEXT        writes TEXT on standard error
//   flood N         writes N bytes on standard error
//   args FILE A...  writes each further argument on its own line into FILE
//   late FILE       waits a moment, then writes "done" into FILE
//   hold FILE       runs while FILE exists (at most an hour); the Windows
//                   test script uses it to keep Wine's services running
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

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
    for (int i = 3; i < argc; ++i) std::fprintf(out, "%s\n", argv[i]);
    std::fclose(out);
    return 0;
  }
  return 2;
}
