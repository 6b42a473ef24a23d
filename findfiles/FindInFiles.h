#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Find and replace across every SERZ file under one or more folders, loose
// and packed in .ap archives, without a toolkit: the Find in Files window of
// both toolkits and the serzfind command use it alike.
//
// Each file is decoded in-process to exactly the XML the converter writes
// and searched with the editor's Find rules (ByteSearch: case folded unless
// matchCase, whole words by the editor's word rule). A run works on every
// core in the background; the caller polls take() for what is new (a
// window from a timer, the command line in a loop), so no callback ever
// runs on a worker thread.
namespace vantrel::findfiles {

struct FindOptions {
  std::string text;  // UTF-8; an empty text finds nothing
  bool matchCase = false;
  bool wholeWord = false;
  bool includePacked = true;  // search the SERZ members of .ap archives
  unsigned jobs = 0;          // worker threads; 0: one per core
};

// A file searched: a loose file, or a member of an archive.
struct FileRef {
  std::string path;    // the file, or the archive holding the member (UTF-8)
  std::string member;  // the member's path inside the archive; empty: loose
  bool isPacked() const { return !member.empty(); }
  // "PATH", or "ARCHIVE.ap::MEMBER" for a packed file.
  std::string displayPath() const;
  bool operator==(const FileRef&) const = default;
};

struct Match {
  FileRef file;
  // As the editor counts them: lines from 1, columns in characters from 1,
  // so the editor's goToLineColumn() lands on the match.
  long line = 0;
  long column = 0;
  std::uint64_t offset = 0;  // byte offset of the match in the file's XML
  std::size_t length = 0;    // bytes of the match
  // The line's text (cut to a few hundred bytes around the match when the
  // line is longer), and where the match lies in it, in bytes.
  std::string lineText;
  std::size_t lineMatchStart = 0;
  std::size_t lineMatchLength = 0;
};

// A file that could not be searched or written, a folder that could not be
// read, a link that loops: the run goes on, and this says what and why.
struct Problem {
  std::string path;  // as displayPath() for a packed file
  std::string reason;
};

struct Progress {
  std::size_t filesFound = 0;  // SERZ files found so far by the walk
  std::size_t filesDone = 0;   // searched (or failed)
  bool walkDone = false;       // filesFound is final
  std::size_t matches = 0;
  std::size_t filesWithMatches = 0;
  std::uint64_t bytesSearched = 0;  // binary bytes read, for MB/s
  double seconds = 0;
};

// What happened since the last take().
struct Batch {
  std::vector<Match> matches;
  std::vector<Problem> problems;
  Progress progress;
  bool finished = false;  // the run is over (done or stopped): nothing more comes
};

// A search in the background. The destructor stops it and waits.
class FindRun {
 public:
  FindRun(std::vector<std::string> folders, FindOptions options);
  ~FindRun();
  FindRun(const FindRun&) = delete;
  FindRun& operator=(const FindRun&) = delete;

  void start();
  // Asks every worker to stop; returns at once. take() then reports
  // finished within a moment (no worker starts another file).
  void stop();
  Batch take();
  // Blocks until the run is over.
  void wait();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

struct ReplaceOptions {
  FindOptions find;
  std::string replacement;  // UTF-8; may be empty
  // Members of archives are written as the loose file at the member's path
  // under the archive's folder; without this they are left and reported.
  bool writeLoose = false;
};

struct WrittenFile {
  FileRef source;       // what was searched
  std::string written;  // the file written (the loose path for a member)
  std::string backup;   // its backup, empty when the file was new
  std::size_t replacements = 0;
};

struct ReplaceReport {
  std::vector<WrittenFile> written;
  std::vector<Problem> failed;  // left untouched, with the reason
  std::size_t replacements = 0;
  bool stopped = false;
};

// Replaces every match in every file under folders, as Replace All does
// in the editor (left to right, no overlaps; matchCase and wholeWord as
// given). Per file: decode, replace, encode, decode again and compare with
// the replaced XML, then write safely with the backup rotation of
// Save .bin. A file failing any step stays as it was and is listed. The
// run is recorded (in the user's own state folder, shared by the window
// and the command line) so that undoLastReplace() can put it back.
class ReplaceRun {
 public:
  ReplaceRun(std::vector<std::string> folders, ReplaceOptions options);
  ~ReplaceRun();  // stops and waits
  ReplaceRun(const ReplaceRun&) = delete;
  ReplaceRun& operator=(const ReplaceRun&) = delete;

  void start();
  // Stops after the file being written (a file is never left half done).
  void stop();
  struct Batch {
    std::vector<WrittenFile> written;
    std::vector<Problem> failed;
    Progress progress;  // matches counts replacements made
    bool finished = false;
  };
  Batch take();
  void wait();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// The whole run on the calling thread.
ReplaceReport replaceInFiles(const std::vector<std::string>& folders,
                             const ReplaceOptions& options);

struct UndoReport {
  std::vector<std::string> restored;  // files put back from their backups
  std::vector<Problem> left;          // changed since the replace, or failed
  bool nothingToUndo = false;
};

// Puts back every file the last replace under these folders wrote, unless
// it has changed since.
UndoReport undoLastReplace(const std::vector<std::string>& folders);
// Whether there is a replace to undo under these folders.
bool canUndoReplace(const std::vector<std::string>& folders);

}  // namespace vantrel::findfiles
