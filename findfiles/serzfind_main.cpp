// serzfind [--case] [--word] [--no-packed] [--jobs N] [--replace NEW [--write-loose]]
//          [--undo] TEXT FOLDER...
//
// Finds TEXT in the XML of every SERZ file under the folders (and of the
// SERZ members of .ap archives), as the editor's Find would in each file
// converted by serz. One line per match on standard output:
//   PATH:LINE:COLUMN: TEXT        (a packed file: ARCHIVE.ap::MEMBER)
// with the line's text from its first non-blank character, control
// characters shown as \xHH. Problems and a summary go to standard error.
// --replace writes every file with a match (backed up as Save .bin does);
// --undo puts back what the last replace under the folders wrote (TEXT may
// be given or left out). Exit status as grep's: 0 something matched (or was
// replaced, or put back), 1 nothing matched, 2 an error (also a bad
// command line), even when something matched.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "converter/Quote.h"
#include "findfiles/FindInFiles.h"
#include "platform/core/Arguments.h"
#include "platform/core/Files.h"

namespace {

namespace ff = vantrel::findfiles;

constexpr const char* kUsage =
    "usage: serzfind [--case] [--word] [--no-packed] [--jobs N] [--replace NEW [--write-loose]] "
    "TEXT FOLDER...\n"
    "       serzfind --undo [TEXT] FOLDER...\n";

struct Command {
  ff::ReplaceOptions options;
  bool replace = false;
  bool undo = false;
  std::vector<std::string> folders;
};

int usage(const char* why = nullptr) {
  if (why) std::fprintf(stderr, "serzfind: %s\n", why);
  std::fputs(kUsage, stderr);
  return 2;
}

// Parses the arguments after the program name; a message when they are wrong.
const char* parse(const std::vector<std::string>& args, Command& c) {
  std::vector<std::string> plain;
  bool optionsEnd = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (optionsEnd || a.size() < 2 || a[0] != '-') {
      plain.push_back(a);
    } else if (a == "--") {
      optionsEnd = true;
    } else if (a == "--case") {
      c.options.find.matchCase = true;
    } else if (a == "--word") {
      c.options.find.wholeWord = true;
    } else if (a == "--no-packed") {
      c.options.find.includePacked = false;
    } else if (a == "--write-loose") {
      c.options.writeLoose = true;
    } else if (a == "--undo") {
      c.undo = true;
    } else if (a == "--jobs" || a == "--replace") {
      if (++i >= args.size()) return "an option needs a value";
      if (a == "--replace") {
        c.replace = true;
        c.options.replacement = args[i];
        continue;
      }
      char* end = nullptr;
      const unsigned long n = std::strtoul(args[i].c_str(), &end, 10);
      if (args[i].empty() || *end || n < 1 || n > 256) return "--jobs takes a number from 1 to 256";
      c.options.find.jobs = static_cast<unsigned>(n);
    } else {
      return "unknown option";
    }
  }
  if (c.undo && c.replace) return "--undo and --replace do not go together";
  if (c.options.writeLoose && !c.replace) return "--write-loose goes with --replace";
  if (c.undo) {
    // "--undo TEXT FOLDER..." is taken too: the text names no folder.
    if (plain.size() > 1 &&
        vantrel::files::kindOf(plain.front()) != vantrel::files::EntryKind::Folder)
      plain.erase(plain.begin());
    c.folders = plain;
  } else {
    if (plain.empty()) return "no text to find";
    c.options.find.text = plain.front();
    if (c.options.find.text.empty()) return "the text to find is empty";
    c.folders.assign(plain.begin() + 1, plain.end());
  }
  if (c.folders.empty()) return "no folder to search";
  return nullptr;
}

std::string shown(std::string_view s) { return serz::withControlsEscaped(s); }

void printProblem(const ff::Problem& p) {
  std::fprintf(stderr, "serzfind: %s: %s\n", shown(p.path).c_str(), shown(p.reason).c_str());
}

void printMatch(const ff::Match& m) {
  std::string_view text = m.lineText;
  const std::size_t first = text.find_first_not_of(" \t");
  text.remove_prefix(first == std::string_view::npos ? text.size() : first);
  std::printf("%s:%ld:%ld: %s\n", shown(m.file.displayPath()).c_str(), m.line, m.column,
              shown(text).c_str());
}

void printSummary(const char* what, const ff::Progress& p) {
  std::fprintf(stderr, "serzfind: %zu %s in %zu files; %zu files searched, %.1f MB in %.2f s\n",
               p.matches, what, p.filesWithMatches, p.filesDone,
               static_cast<double>(p.bytesSearched) / 1e6, p.seconds);
}

int find(const Command& c) {
  ff::FindRun run(c.folders, c.options.find);
  run.start();
  bool problems = false;
  for (;;) {
    ff::Batch batch = run.take();
    for (const ff::Match& m : batch.matches) printMatch(m);
    for (const ff::Problem& p : batch.problems) printProblem(p);
    problems = problems || !batch.problems.empty();
    if (batch.finished) {
      std::fflush(stdout);
      printSummary("matches", batch.progress);
      if (problems) return 2;
      return batch.progress.matches ? 0 : 1;
    }
    if (batch.matches.empty() && batch.problems.empty())
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

int replace(const Command& c) {
  ff::ReplaceRun run(c.folders, c.options);
  run.start();
  bool problems = false;
  for (;;) {
    ff::ReplaceRun::Batch batch = run.take();
    for (const ff::WrittenFile& w : batch.written) {
      std::printf("%s: %zu replaced", shown(w.source.displayPath()).c_str(), w.replacements);
      if (w.source.isPacked()) std::printf(", written as %s", shown(w.written).c_str());
      if (!w.backup.empty()) std::printf(" (backup %s)", shown(w.backup).c_str());
      std::printf("\n");
    }
    for (const ff::Problem& p : batch.failed) printProblem(p);
    problems = problems || !batch.failed.empty();
    if (batch.finished) {
      std::fflush(stdout);
      printSummary("replacements", batch.progress);
      if (problems) return 2;
      return batch.progress.matches ? 0 : 1;
    }
    if (batch.written.empty() && batch.failed.empty())
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

int undo(const Command& c) {
  const ff::UndoReport report = ff::undoLastReplace(c.folders);
  if (report.nothingToUndo) {
    std::fputs("serzfind: no replace to undo under these folders\n", stderr);
    return 1;
  }
  for (const std::string& path : report.restored)
    std::printf("%s: put back\n", shown(path).c_str());
  for (const ff::Problem& p : report.left) printProblem(p);
  std::fflush(stdout);
  std::fprintf(stderr, "serzfind: %zu files put back, %zu left\n", report.restored.size(),
               report.left.size());
  return report.left.empty() ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments = vantrel::platform::utf8Arguments(argc, argv);
  Command command;
  if (const char* why = parse(arguments, command)) return usage(why);
  vantrel::files::removeTemporariesOnInterrupt();
  try {
    if (command.undo) return undo(command);
    if (command.replace) return replace(command);
    return find(command);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "serzfind: %s\n", e.what());
    return 2;
  }
}
