#include "platform/core/CommandLine.h"

namespace vantrel::platform {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The program name: quotes toggle, everything else (backslashes too) is
// literal, and it ends at the first blank outside quotes.
std::size_t readProgramName(std::string_view line, std::string& out) {
  std::size_t i = 0;
  bool quoted = false;
  for (; i < line.size(); ++i) {
    char c = line[i];
    if (c == '"') {
      quoted = !quoted;
    } else if (isBlank(c) && !quoted) {
      break;
    } else {
      out += c;
    }
  }
  return i;
}

}  // namespace

std::vector<std::string> splitWindowsCommandLine(std::string_view line) {
  std::vector<std::string> args;
  std::size_t i = 0;
  while (i < line.size() && isBlank(line[i])) ++i;
  if (i == line.size()) return args;

  std::string program;
  i += readProgramName(line.substr(i), program);
  args.push_back(std::move(program));

  while (true) {
    while (i < line.size() && isBlank(line[i])) ++i;
    if (i == line.size()) break;

    std::string arg;
    bool quoted = false;
    while (i < line.size() && (quoted || !isBlank(line[i]))) {
      char c = line[i];
      if (c == '\\') {
        std::size_t slashes = 0;
        while (i < line.size() && line[i] == '\\') {
          ++slashes;
          ++i;
        }
        if (i < line.size() && line[i] == '"') {
          arg.append(slashes / 2, '\\');
          if (slashes % 2 == 1) {
            arg += '"';
            ++i;
          }
          // An even count leaves the quote to toggle quoting below.
        } else {
          arg.append(slashes, '\\');
        }
      } else if (c == '"') {
        if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
          arg += '"';
          i += 2;
        } else {
          quoted = !quoted;
          ++i;
        }
      } else {
        arg += c;
        ++i;
      }
    }
    args.push_back(std::move(arg));
  }
  return args;
}

}  // namespace vantrel::platform
