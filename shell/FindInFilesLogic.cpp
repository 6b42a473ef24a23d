#include "shell/FindInFilesLogic.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "platform/core/Files.h"
#include "platform/window/Dialogs.h"

namespace vantrel::shell {

namespace {

constexpr std::size_t kListedProblems = 20;
// Bytes of a line shown before a match that lies far into it.
constexpr std::size_t kContextBefore = 40;
constexpr const char* kCutMark = "\xE2\x80\xA6";  // an ellipsis

std::string plural(std::size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string oneDecimal(double value) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 1);
  return std::string(text, result.ptr);
}

std::string speedText(const findfiles::Progress& progress) {
  if (progress.seconds <= 0) return {};
  return oneDecimal(static_cast<double>(progress.bytesSearched) / 1e6 / progress.seconds) + " MB/s";
}

bool isSeparator(char c) { return c == '/' || c == '\\'; }

// path without the folder in front, when it lies under it.
std::string underFolder(const std::string& path, std::string folder) {
  while (folder.size() > 1 && isSeparator(folder.back())) folder.pop_back();
  if (folder.empty() || path.size() <= folder.size() + 1) return path;
  if (path.compare(0, folder.size(), folder) != 0 || !isSeparator(path[folder.size()])) return path;
  return path.substr(folder.size() + 1);
}

// "path: reason" lines, the first few of them.
std::string problemList(const std::vector<findfiles::Problem>& problems) {
  std::string text;
  for (std::size_t i = 0; i < problems.size() && i < kListedProblems; ++i) {
    text += "\r\n" + problems[i].path + ": " + problems[i].reason;
  }
  if (problems.size() > kListedProblems) {
    text +=
        "\r\n... and " + plural(problems.size() - kListedProblems, "more file", "more files") + ".";
  }
  return text;
}

}  // namespace

FindInFilesLogic::FindInFilesLogic(FindInFilesEngine& engine, platform::Dialogs& dialogs,
                                   std::function<void(const FilePlace&)> openMatch)
    : engine_(engine), dialogs_(dialogs), openMatch_(std::move(openMatch)) {}

FindInFilesLogic::~FindInFilesLogic() = default;

bool FindInFilesLogic::running() const { return phase_ != Phase::Idle; }

FindInFilesButtons FindInFilesLogic::buttons() const {
  if (running()) return {false, false, true, false};
  return {true, true, false, canUndo_};
}

void FindInFilesLogic::folderChanged(const std::string& folder) {
  undoFolder_ = folder;
  refreshUndo();
}

void FindInFilesLogic::refreshUndo() {
  canUndo_ = !undoFolder_.empty() && engine_.canUndoReplace({undoFolder_});
}

// --- Commands -------------------------------------------------------------

bool FindInFilesLogic::checkInputs(const FindInFilesInputs& inputs, bool forReplace) {
  std::string problem;
  if (inputs.folder.empty()) {
    problem = "Choose the folder to search in first.";
  } else if (files::kindOf(inputs.folder) != files::EntryKind::Folder) {
    problem = inputs.folder + " is not a folder that can be searched.";
  } else if (inputs.findText.empty()) {
    problem = forReplace ? "Type the text to replace in the find box first."
                         : "Type the text to find in the find box first.";
  }
  if (problem.empty()) return true;
  dialogs_.message(problem, platform::MessageIcon::Warning);
  return false;
}

void FindInFilesLogic::findAll(const FindInFilesInputs& inputs) {
  if (running() || polling_ || !checkInputs(inputs, false)) return;
  startFind(inputs, Phase::Finding);
}

void FindInFilesLogic::replaceAll(const FindInFilesInputs& inputs) {
  if (running() || polling_ || !checkInputs(inputs, true)) return;
  // The last Find All's figures stand for these inputs: no second search.
  if (completedFind_ && *completedFind_ == inputs) {
    runInputs_ = inputs;
    askAndReplace();
    return;
  }
  startFind(inputs, Phase::CountingForReplace);
}

void FindInFilesLogic::stop() {
  if (!run_) return;
  run_->stop();
  stopped_ = true;
}

void FindInFilesLogic::undoLastReplace(const std::string& folder) {
  if (running() || polling_) return;
  folderChanged(folder);
  if (!canUndo_) {
    dialogs_.message("There is no replace to undo under " + folder + ".",
                     platform::MessageIcon::Information);
    return;
  }
  if (dialogs_.ask("Put back the files the last Replace All under " + folder +
                       " wrote? A file changed since then stays as it is.",
                   false) != platform::Answer::Yes) {
    return;
  }
  const findfiles::UndoReport report = engine_.undoLastReplace({folder});
  refreshUndo();
  completedFind_.reset();  // the files are not what the last search saw
  if (report.nothingToUndo) {
    dialogs_.message("There is no replace to undo under " + folder + ".",
                     platform::MessageIcon::Information);
    return;
  }
  std::string text = "Put back " + plural(report.restored.size(), "file", "files") + ".";
  if (!report.left.empty()) {
    text += " These were left as they are:" + problemList(report.left);
  }
  dialogs_.message(text, report.left.empty() ? platform::MessageIcon::Information
                                             : platform::MessageIcon::Warning);
}

void FindInFilesLogic::activate(std::size_t row) {
  if (row >= places_.size() || !places_[row]) return;
  const FilePlace place = *places_[row];  // the call may come back into this window
  openMatch_(place);
}

// --- Find -------------------------------------------------------------------

void FindInFilesLogic::startFind(const FindInFilesInputs& inputs, Phase phase) {
  rows_.clear();
  places_.clear();
  rowsGiven_ = 0;
  cleared_ = true;
  tally_ = {};
  filePacked_.clear();
  progress_ = {};
  stopped_ = false;
  completedFind_.reset();
  lastWasReplace_ = false;
  searched_ = true;
  runInputs_ = inputs;
  findfiles::FindOptions options;
  options.text = inputs.findText;
  options.matchCase = inputs.matchCase;
  options.wholeWord = inputs.wholeWord;
  options.includePacked = inputs.includePacked;
  phase_ = phase;
  run_ = engine_.find({inputs.folder}, options);
}

std::string FindInFilesLogic::relativePath(const findfiles::FileRef& file) const {
  std::string shown = underFolder(file.path, runInputs_.folder);
  if (file.isPacked()) shown += "::" + file.member;
  return shown;
}

void FindInFilesLogic::addRow(ResultRow row) {
  if (rows_.size() >= kMaxRows) return;
  rows_.push_back(std::move(row));
}

void FindInFilesLogic::addProblemRows(const std::vector<findfiles::Problem>& problems) {
  for (const findfiles::Problem& problem : problems) {
    if (rows_.size() >= kMaxRows) return;
    ResultRow row;
    row.file = underFolder(problem.path, runInputs_.folder);
    row.text = problem.reason;
    row.problem = true;
    addRow(std::move(row));
    places_.emplace_back();
  }
}

void FindInFilesLogic::takeFindBatch(RunBatch& batch) {
  for (findfiles::Match& match : batch.matches) {
    const std::string shown = relativePath(match.file);
    const auto [seen, isNew] = filePacked_.emplace(shown, match.file.isPacked());
    ++tally_.matches;
    if (seen->second) ++tally_.packedMatches;
    if (isNew) {
      ++tally_.files;
      if (seen->second) ++tally_.packedFiles;
    }
    if (rows_.size() >= kMaxRows) continue;

    // The line as listed: blanks in front and the line end cut, the match
    // kept in place.
    std::string text = std::move(match.lineText);
    std::size_t start = std::min(match.lineMatchStart, text.size());
    std::size_t length = std::min(match.lineMatchLength, text.size() - start);
    const std::size_t lead = std::min(text.find_first_not_of(" \t"), start);
    text.erase(0, lead);
    start -= lead;
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
    // A match far into a long line is shown with a little of what comes
    // before it, so it is in view in the list.
    if (start > kContextBefore + 8) {
      std::size_t cut = start - kContextBefore;
      while (cut < start && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) ++cut;
      text.replace(0, cut, kCutMark);
      start = start - cut + std::string_view(kCutMark).size();
    }
    length = std::min(length, text.size() - std::min(start, text.size()));

    ResultRow row;
    row.file = shown;
    row.line = std::to_string(match.line);
    row.text = std::move(text);
    row.matchStart = start;
    row.matchLength = length;
    addRow(std::move(row));
    places_.push_back(FilePlace{match.file.path, match.file.member, match.line, match.column,
                                static_cast<long>(match.length)});
  }
  addProblemRows(batch.problems);
}

void FindInFilesLogic::finishFind() {
  const Phase phase = std::exchange(phase_, Phase::Idle);
  if (stopped_) return;
  completedFind_ = runInputs_;
  if (phase == Phase::CountingForReplace) askAndReplace();
}

// --- Replace ------------------------------------------------------------------

void FindInFilesLogic::askAndReplace() {
  const FindInFilesInputs& inputs = runInputs_;
  if (tally_.matches == 0) {
    dialogs_.message("\"" + inputs.findText + "\" is not in any file under " + inputs.folder +
                         ": there is nothing to replace.",
                     platform::MessageIcon::Information);
    return;
  }
  bool includePacked = inputs.includePacked;
  bool writeLoose = false;
  if (tally_.packedMatches > 0) {
    const platform::Answer answer = dialogs_.ask(
        plural(tally_.packedMatches, "match is", "matches are") + " in " +
            plural(tally_.packedFiles, "packed file", "packed files") +
            ". Write those as loose files beside their packed files? The packed files stay as "
            "they are. No leaves them out.",
        true);
    if (answer == platform::Answer::Cancel) return;
    writeLoose = answer == platform::Answer::Yes;
    includePacked = writeLoose;
  }
  const std::size_t matches =
      includePacked ? tally_.matches : tally_.matches - tally_.packedMatches;
  const std::size_t files = includePacked ? tally_.files : tally_.files - tally_.packedFiles;
  if (matches == 0) {
    dialogs_.message("Every match is in a packed file: nothing was replaced.",
                     platform::MessageIcon::Information);
    return;
  }
  if (dialogs_.ask("Replace " + plural(matches, "match", "matches") + " in " +
                       plural(files, "file", "files") + "? Every file written gets a backup.",
                   false) != platform::Answer::Yes) {
    return;
  }

  findfiles::ReplaceOptions options;
  options.find.text = inputs.findText;
  options.find.matchCase = inputs.matchCase;
  options.find.wholeWord = inputs.wholeWord;
  options.find.includePacked = includePacked;
  options.replacement = inputs.replaceText;
  options.writeLoose = writeLoose;
  progress_ = {};
  stopped_ = false;
  lastWasReplace_ = true;
  filesWritten_ = 0;
  replaceFailures_.clear();
  // The files change: the figures of the search no longer stand.
  completedFind_.reset();
  phase_ = Phase::Replacing;
  run_ = engine_.replace({inputs.folder}, options);
}

void FindInFilesLogic::takeReplaceBatch(RunBatch& batch) {
  filesWritten_ += batch.written.size();
  for (findfiles::Problem& problem : batch.problems) replaceFailures_.push_back(std::move(problem));
}

void FindInFilesLogic::finishReplace() {
  phase_ = Phase::Idle;
  folderChanged(runInputs_.folder);
  if (replaceFailures_.empty()) return;
  dialogs_.message("Replaced " + plural(progress_.matches, "match", "matches") + " in " +
                       plural(filesWritten_, "file", "files") + ". " +
                       plural(replaceFailures_.size(),
                              "file was left as it was:", "files were left as they were:") +
                       problemList(replaceFailures_),
                   platform::MessageIcon::Warning);
}

// --- Polling ------------------------------------------------------------------

FindInFilesUpdate FindInFilesLogic::poll() {
  FindInFilesUpdate update;
  // While a question asked from an earlier poll is open, the window is
  // only told what it shows already.
  const bool nested = std::exchange(polling_, true);
  if (run_ && !nested) {
    RunBatch batch = run_->take();
    progress_ = batch.progress;
    if (phase_ == Phase::Replacing) {
      takeReplaceBatch(batch);
    } else {
      takeFindBatch(batch);
    }
    if (batch.finished) {
      run_.reset();
      if (phase_ == Phase::Replacing) {
        finishReplace();
      } else {
        finishFind();
      }
    }
  }
  polling_ = nested;
  update.cleared = std::exchange(cleared_, false);
  update.newRows.assign(rows_.begin() + static_cast<std::ptrdiff_t>(rowsGiven_), rows_.end());
  rowsGiven_ = rows_.size();
  update.filesDone = progress_.filesDone;
  update.filesFound = progress_.filesFound;
  update.status = statusText();
  return update;
}

std::string FindInFilesLogic::statusText() const {
  const std::string speed = speedText(progress_);
  const std::string files = std::to_string(progress_.filesDone) + " of " +
                            std::to_string(progress_.filesFound) + " files";
  if (lastWasReplace_) {
    const std::string done = plural(progress_.matches, "replacement", "replacements") + " in " +
                             plural(filesWritten_, "file", "files");
    if (phase_ == Phase::Replacing)
      return (stopped_ ? "Stopping... " : "Replacing... ") + done + "; " + files;
    std::string text = (stopped_ ? "Stopped: " : "Replaced: ") + done;
    if (!replaceFailures_.empty())
      text +=
          "; " + plural(replaceFailures_.size(), "file left as it was", "files left as they were");
    return text;
  }
  if (!searched_) return {};
  std::string text =
      plural(tally_.matches, "match", "matches") + " in " + plural(tally_.files, "file", "files");
  if (rows_.size() >= kMaxRows) text += " (the first " + std::to_string(kMaxRows) + " listed)";
  if (phase_ != Phase::Idle) {
    text = (stopped_ ? "Stopping... " : "Searching... ") + text + "; " + files;
  } else if (stopped_) {
    text = "Stopped: " + text + "; " + files + " searched";
  } else {
    text += "; " + plural(progress_.filesDone, "file", "files") + " searched";
  }
  if (!speed.empty()) text += ", " + speed;
  return text;
}

}  // namespace vantrel::shell
