#pragma once
#include <string>
#include <vector>

namespace vantrel::platform {

// The program's command-line arguments in UTF-8, the program name first. On
// Windows they are taken from the wide command line, so file names in any
// script reach the program intact; elsewhere they are argv as it is.
std::vector<std::string> utf8Arguments(int argc, char** argv);

}  // namespace vantrel::platform
