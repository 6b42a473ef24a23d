#pragma once
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "shell/FindInFilesEngine.h"
#include "shell/MainWindowLogic.h"

namespace vantrel::platform {
class Dialogs;
}

// The Find in Files window without a toolkit: a window reads its fields
// into FindInFilesInputs for each command, calls poll() from a timer (about
// every 100 ms) and draws what it returns; buttons() says which buttons
// are enabled. Questions and problems go through the Dialogs seam.
namespace vantrel::shell {

struct FindInFilesInputs {
  std::string folder;
  std::string findText;
  std::string replaceText;
  bool matchCase = false;
  bool wholeWord = false;
  bool includePacked = true;
  bool operator==(const FindInFilesInputs&) const = default;
};

// One row of the results list.
struct ResultRow {
  std::string file;            // relative to the folder searched; "ARCHIVE.ap::MEMBER" when packed
  std::string line;            // "" for a problem row
  std::string text;            // the line (leading blanks cut), or why the file was not searched
  std::size_t matchStart = 0;  // the match in text, in bytes
  std::size_t matchLength = 0;
  bool problem = false;
};

struct FindInFilesButtons {
  bool findAll = true;
  bool replaceAll = true;
  bool stop = false;
  bool undo = false;
  bool operator==(const FindInFilesButtons&) const = default;
};

// What changed since the last poll().
struct FindInFilesUpdate {
  bool cleared = false;  // the list was emptied before newRows
  std::vector<ResultRow> newRows;
  std::size_t filesDone = 0;
  std::size_t filesFound = 0;
  std::string status;
};

class FindInFilesLogic {
 public:
  // openMatch opens a result in the main window (MainWindowLogic::openMatch).
  FindInFilesLogic(FindInFilesEngine& engine, platform::Dialogs& dialogs,
                   std::function<void(const FilePlace&)> openMatch);
  ~FindInFilesLogic();
  FindInFilesLogic(const FindInFilesLogic&) = delete;
  FindInFilesLogic& operator=(const FindInFilesLogic&) = delete;

  // The rows shown at most; matches beyond are counted, not listed.
  static constexpr std::size_t kMaxRows = 100'000;

  // The folder box changed: whether Undo applies is looked up again.
  void folderChanged(const std::string& folder);

  void findAll(const FindInFilesInputs& inputs);
  // Asks first with the counts (a find runs first unless the last Find
  // All had these inputs), and whether packed files are written loose.
  void replaceAll(const FindInFilesInputs& inputs);
  void stop();
  void undoLastReplace(const std::string& folder);
  // A double-click on a row: the main window opens the file at the match.
  void activate(std::size_t row);

  FindInFilesUpdate poll();
  bool running() const;
  FindInFilesButtons buttons() const;
  const std::vector<ResultRow>& rows() const { return rows_; }

 private:
  enum class Phase { Idle, Finding, CountingForReplace, Replacing };
  // Matches per file of the last find, split by loose and packed.
  struct Tally {
    std::size_t matches = 0, files = 0, packedMatches = 0, packedFiles = 0;
  };

  bool checkInputs(const FindInFilesInputs& inputs, bool forReplace);
  void startFind(const FindInFilesInputs& inputs, Phase phase);
  void takeFindBatch(RunBatch& batch);
  void takeReplaceBatch(RunBatch& batch);
  void finishFind();
  void finishReplace();
  void askAndReplace();
  void addProblemRows(const std::vector<findfiles::Problem>& problems);
  void addRow(ResultRow row);
  std::string relativePath(const findfiles::FileRef& file) const;
  std::string statusText() const;
  void refreshUndo();

  FindInFilesEngine& engine_;
  platform::Dialogs& dialogs_;
  std::function<void(const FilePlace&)> openMatch_;

  Phase phase_ = Phase::Idle;
  std::unique_ptr<EngineRun> run_;
  FindInFilesInputs runInputs_;
  // The inputs of the last Find All that ran to its end (its tally holds).
  std::optional<FindInFilesInputs> completedFind_;
  Tally tally_;
  std::map<std::string, bool> filePacked_;  // files with matches: packed or not
  findfiles::Progress progress_;
  bool stopped_ = false;
  bool searched_ = false;        // a search has started since the window opened
  bool lastWasReplace_ = false;  // the status tells of the replace
  std::size_t filesWritten_ = 0;
  std::vector<findfiles::Problem> replaceFailures_;

  std::vector<ResultRow> rows_;
  std::vector<std::optional<FilePlace>> places_;  // per row; none for a problem row
  std::size_t rowsGiven_ = 0;                     // rows already handed to the window
  bool cleared_ = false;
  bool polling_ = false;  // a question asked from poll() is open
  bool canUndo_ = false;
  std::string undoFolder_;
};

}  // namespace vantrel::shell
