#include "findfiles/Journal.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <system_error>

#include "platform/core/Files.h"
#include "platform/core/WideText.h"

namespace vantrel::findfiles::detail {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kHeader = "vantrel find-in-files journal 1";
constexpr const char* kFolderName = "vantrel-bin-editor";

std::optional<fs::path> stateFolder() {
  const auto env = [](const char* name) -> std::optional<std::string> {
#ifdef _WIN32
    const std::wstring wide = platform::utf8ToWide(name);
    const wchar_t* value = _wgetenv(wide.c_str());
    if (!value || !*value) return std::nullopt;
    return platform::wideToUtf8(value);
#else
    const char* value = std::getenv(name);
    if (!value || !*value) return std::nullopt;
    return std::string(value);
#endif
  };
  if (auto dir = env("VANTREL_STATE_DIR")) return platform::pathFromUtf8(*dir);
#ifdef _WIN32
  if (auto dir = env("LOCALAPPDATA")) return platform::pathFromUtf8(*dir) / kFolderName;
#else
  if (auto dir = env("XDG_STATE_HOME")) return platform::pathFromUtf8(*dir) / kFolderName;
  if (auto home = env("HOME"))
    return platform::pathFromUtf8(*home) / ".local" / "state" / kFolderName;
#endif
  return std::nullopt;
}

// Paths may hold any byte but NUL: tabs, line breaks and '%' are written
// as %HH so that a line is one entry.
std::string escape(std::string_view s) {
  std::string out;
  for (char c : s) {
    if (c == '%' || c == '\t' || c == '\n' || c == '\r') {
      static constexpr char kHex[] = "0123456789ABCDEF";
      out += '%';
      out += kHex[static_cast<unsigned char>(c) >> 4];
      out += kHex[static_cast<unsigned char>(c) & 15];
    } else {
      out += c;
    }
  }
  return out;
}

std::string unescape(std::string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%' && i + 2 < s.size()) {
      out += static_cast<char>(std::stoi(std::string(s.substr(i + 1, 2)), nullptr, 16));
      i += 2;
    } else {
      out += s[i];
    }
  }
  return out;
}

std::vector<std::string> split(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(
        line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

std::string entryLine(const JournalEntry& e) {
  return "file\t" + escape(e.written) + "\t" + escape(e.backup) + "\t" +
         std::to_string(e.now.size) + "\t" + std::to_string(e.now.crc) + "\t" +
         std::to_string(e.before.size) + "\t" + std::to_string(e.before.crc) + "\n";
}

std::string canonicalKey(const std::vector<std::string>& folders) {
  std::vector<std::string> names;
  for (const std::string& folder : folders) {
    std::error_code error;
    const fs::path canonical = fs::weakly_canonical(platform::pathFromUtf8(folder), error);
    names.push_back(error ? folder : platform::utf8FromPath(canonical));
  }
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  std::string key;
  for (const std::string& name : names) key += name + '\n';
  return key;
}

}  // namespace

Fingerprint fingerprintOf(std::string_view bytes) {
  uLong crc = crc32(0L, Z_NULL, 0);
  // crc32 takes at most 4 GB at a time (uInt).
  for (std::size_t at = 0; at < bytes.size();) {
    const std::size_t n = std::min<std::size_t>(bytes.size() - at, 1u << 30);
    crc = crc32(crc, reinterpret_cast<const Bytef*>(bytes.data() + at), static_cast<uInt>(n));
    at += n;
  }
  return {bytes.size(), static_cast<std::uint32_t>(crc)};
}

std::optional<std::string> journalPath(const std::vector<std::string>& folders) {
  const auto folder = stateFolder();
  if (!folder) return std::nullopt;
  const std::string key = canonicalKey(folders);
  const Fingerprint f = fingerprintOf(key);
  char name[64];
  std::snprintf(name, sizeof name, "replace-%08x-%llx.journal", static_cast<unsigned>(f.crc),
                static_cast<unsigned long long>(f.size));
  return platform::utf8FromPath(*folder / name);
}

std::optional<std::string> JournalWriter::add(const JournalEntry& entry) {
  std::lock_guard lock(mutex_);
  if (!opened_) {
    opened_ = true;
    const auto path = journalPath(folders_);
    if (!path) {
      failure_ = "there is no state folder for the undo record (HOME is not set)";
      return failure_;
    }
    std::error_code error;
    fs::create_directories(platform::pathFromUtf8(*path).parent_path(), error);
    out_.open(platform::pathFromUtf8(*path), std::ios::binary | std::ios::trunc);
    if (!out_) {
      failure_ = "the undo record " + *path + " cannot be written";
      return failure_;
    }
    out_ << kHeader << '\n';
    for (const std::string& folder : folders_) out_ << "folder\t" << escape(folder) << '\n';
  }
  if (failure_) return failure_;
  out_ << entryLine(entry);
  out_.flush();
  if (!out_) failure_ = "the undo record could not be written to its end";
  return failure_;
}

std::optional<std::vector<JournalEntry>> readJournal(const std::string& path) {
  std::string content;
  if (files::readWhole(path, content, std::uint64_t{256} << 20)) return std::nullopt;
  std::istringstream in(content);
  std::string line;
  if (!std::getline(in, line) || line != kHeader) return std::nullopt;
  std::vector<JournalEntry> entries;
  while (std::getline(in, line)) {
    const std::vector<std::string> f = split(line);
    if (f.size() != 7 || f[0] != "file") continue;  // folders, or a line cut short by a crash
    try {
      JournalEntry e;
      e.written = unescape(f[1]);
      e.backup = unescape(f[2]);
      e.now = {std::stoull(f[3]), static_cast<std::uint32_t>(std::stoul(f[4]))};
      e.before = {std::stoull(f[5]), static_cast<std::uint32_t>(std::stoul(f[6]))};
      entries.push_back(std::move(e));
    } catch (const std::exception&) {
      continue;
    }
  }
  return entries;
}

void rewriteJournal(const std::string& path, const std::vector<JournalEntry>& entries) {
  std::error_code error;
  if (entries.empty()) {
    fs::remove(platform::pathFromUtf8(path), error);
    return;
  }
  std::string content(kHeader);
  content += '\n';
  for (const JournalEntry& e : entries) content += entryLine(e);
  files::replaceWhole(path, content);
}

}  // namespace vantrel::findfiles::detail
