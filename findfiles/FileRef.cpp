#include "findfiles/FindInFiles.h"

namespace vantrel::findfiles {

std::string FileRef::displayPath() const { return isPacked() ? path + "::" + member : path; }

}  // namespace vantrel::findfiles
