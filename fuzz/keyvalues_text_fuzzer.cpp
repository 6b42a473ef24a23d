// Fuzzes the KeyValues text reader that reads Steam's library list and app
// manifests: whatever the bytes, the result is entries or "broken", never a
// crash, and walking the entries as the Steam search does stays inside them.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "shell/KeyValuesText.h"
#include "shell/SteamLibraries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto parsed =
      vantrel::shell::parseKeyValues(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!parsed) return 0;
  for (const auto& path : vantrel::shell::libraryPathsInList(*parsed))
    if (path.empty() || path.size() > size) std::abort();  // a path is a piece of the text
  if (const auto* state = parsed->find("AppState"))
    if (state->textOf("installdir").size() > size) std::abort();
  return 0;
}
