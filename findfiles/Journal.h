#pragma once
#include <cstdint>
#include <fstream>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The record of the last replace under a set of folders, kept in the
// user's state folder so that the window and the command line can both
// undo it: every file written, its backup, and a fingerprint of what was
// written (to see whether it changed since) and of what the backup holds.
//
// The state folder: $VANTREL_STATE_DIR when set (tests), else on Windows
// %LOCALAPPDATA%\vantrel-bin-editor, elsewhere $XDG_STATE_HOME (or
// ~/.local/state) /vantrel-bin-editor.
namespace vantrel::findfiles::detail {

struct Fingerprint {
  std::uint64_t size = 0;
  std::uint32_t crc = 0;
  bool operator==(const Fingerprint&) const = default;
};
Fingerprint fingerprintOf(std::string_view bytes);

struct JournalEntry {
  std::string written;  // the file written
  std::string backup;   // empty: the file was new (undo removes it)
  Fingerprint now;      // of the bytes written
  Fingerprint before;   // of the backup's bytes
};

// The journal file for these folders (their canonical forms, in any
// order, name the same journal); nullopt when there is no state folder.
std::optional<std::string> journalPath(const std::vector<std::string>& folders);

// Written as a replace goes: started when the first file is written (a
// replace that writes nothing leaves the last one to undo), one line per
// file, flushed at once.
class JournalWriter {
 public:
  explicit JournalWriter(std::vector<std::string> folders) : folders_(std::move(folders)) {}
  // A reason when the journal cannot be written (the file is still written:
  // its backup stays beside it).
  std::optional<std::string> add(const JournalEntry& entry);

 private:
  std::mutex mutex_;
  std::vector<std::string> folders_;
  std::ofstream out_;
  bool opened_ = false;
  std::optional<std::string> failure_;
};

// The entries of the journal at path; nullopt when there is none or it is
// not a journal.
std::optional<std::vector<JournalEntry>> readJournal(const std::string& path);
// Replaces the journal with these entries; removes it when there are none.
void rewriteJournal(const std::string& path, const std::vector<JournalEntry>& entries);

}  // namespace vantrel::findfiles::detail
