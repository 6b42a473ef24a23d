#include <chrono>
#include <filesystem>
#include <mutex>
#include <set>

#include "archive/MemberPath.h"
#include "converter/Codec.h"
#include "findfiles/Decode.h"
#include "findfiles/FindInFiles.h"
#include "findfiles/Journal.h"
#include "findfiles/PreCheck.h"
#include "findfiles/RunPool.h"
#include "findfiles/SafeWrite.h"
#include "findfiles/XmlMatches.h"
#include "platform/core/Files.h"
#include "platform/core/WideText.h"

namespace vantrel::findfiles {

using Clock = std::chrono::steady_clock;

namespace {

// The XML with every match replaced, left to right.
std::string replaced(std::string_view xml, const std::vector<std::size_t>& at, std::size_t length,
                     std::string_view replacement) {
  std::string out;
  out.reserve(xml.size() + at.size() * replacement.size());
  std::size_t from = 0;
  for (std::size_t start : at) {
    out.append(xml.substr(from, start - from));
    out.append(replacement);
    from = start + length;
  }
  out.append(xml.substr(from));
  return out;
}

}  // namespace

struct ReplaceRun::State {
  std::vector<std::string> folders;
  ReplaceOptions options;
  platform::ByteSearch search;
  detail::PreCheck preCheck;
  detail::JournalWriter journal;
  std::unique_ptr<detail::RunPool> pool;
  Clock::time_point started;
  std::atomic<std::size_t> replacements{0}, filesWritten{0};

  std::mutex mutex;  // guards what follows
  Batch pending;
  // Files this run wrote: a loose file made from a member may be reached
  // by the walk afterwards, and is not replaced in twice.
  std::set<std::string> writtenTargets;
  bool finished = false;
  double seconds = 0;

  State(std::vector<std::string> f, ReplaceOptions o)
      : folders(std::move(f)),
        options(std::move(o)),
        search(options.find.text, {options.find.matchCase, options.find.wholeWord}),
        preCheck(options.find.text, options.find.matchCase),
        journal(folders) {
    detail::PoolWork work;
    work.file = [this](const FileRef& file, std::string_view binary, std::string& scratch) {
      if (auto failure = replaceIn(file, binary, scratch)) fail(file, std::move(*failure));
    };
    work.problem = [this](Problem p) {
      std::lock_guard lock(mutex);
      pending.failed.push_back(std::move(p));
    };
    work.finished = [this] {
      std::lock_guard lock(mutex);
      finished = true;
      seconds = std::chrono::duration<double>(Clock::now() - started).count();
    };
    pool = std::make_unique<detail::RunPool>(folders, options.find.includePacked, options.find.jobs,
                                             std::move(work));
  }

  // One spelling for a file, however the walk or the archive named it.
  static std::string sameName(const std::string& path) {
    std::error_code error;
    const auto canonical = std::filesystem::weakly_canonical(platform::pathFromUtf8(path), error);
    return error ? path : platform::utf8FromPath(canonical);
  }

  bool wroteAlready(const std::string& target) {
    const std::string name = sameName(target);
    std::lock_guard lock(mutex);
    return writtenTargets.count(name) > 0;
  }

  void fail(const FileRef& file, std::string reason) {
    std::lock_guard lock(mutex);
    pending.failed.push_back({file.displayPath(), std::move(reason)});
  }

  // Decode, replace, encode, decode again and compare, write with a
  // backup. A reason when the file was left as it was. The worker's own
  // buffer takes both decodings: fresh memory for each file, first written
  // there, cost more than the conversions themselves.
  std::optional<std::string> replaceIn(const FileRef& file, std::string_view binary,
                                       std::string& xml) {
    if (options.find.text.empty() || !preCheck.mayMatch(binary)) return std::nullopt;
    if (!file.isPacked() && wroteAlready(files::writeTarget(file.path))) return std::nullopt;
    const auto& stop = pool->stopFlag();
    if (auto failure = detail::decodeToXml(binary, stop, xml)) {
      if (stop) return std::nullopt;
      return "cannot be converted: " + *failure;
    }
    std::vector<std::size_t> at;
    if (!detail::findOffsets(xml, search, options.find.text.size(), stop,
                             [&](std::size_t offset) { at.push_back(offset); }))
      return std::nullopt;  // stopped
    if (at.empty()) return std::nullopt;
    if (stop) return std::nullopt;

    std::string target;
    bool newFile = false;
    if (file.isPacked()) {
      if (!options.writeLoose)
        return std::string(
            "is packed: it is written only as a loose file beside the archive "
            "(write loose files to replace in it)");
      const auto loose = archive::looseFileFor(file.path, file.member);
      if (!loose) return std::string("its name in the archive is not safe to write");
      if (detail::nameTaken(*loose))
        return "its loose file " + *loose +
               " exists already; that file is searched on its own, the member is left";
      target = *loose;
      newFile = true;
      // Taken now, so that no other worker makes the same loose file.
      const std::string name = sameName(target);
      std::lock_guard lock(mutex);
      if (!writtenTargets.insert(name).second)
        return "its loose file " + target + " is written from another archive in this run";
    } else {
      target = files::writeTarget(file.path);
    }

    const std::string newXml = replaced(xml, at, options.find.text.size(), options.replacement);
    auto newBinary = serz::xmlToBin(newXml);
    if (!newBinary)
      return "the replaced text does not convert back: " + newBinary.error().message();
    // The old text is no longer needed: its buffer takes the check.
    std::string& check = xml;
    const std::atomic<bool> never{false};
    if (auto failure = detail::decodeToXml(newBinary.value(), never, check))
      return "the rebuilt file does not convert again: " + *failure;
    if (check != newXml)
      return std::string(
          "converting the rebuilt file again does not give the replaced text (a value the "
          "binary cannot hold as written, such as a number's text)");

    const detail::SafeWriteResult written =
        detail::writeWithBackup(target, newBinary.value(), newFile);
    if (written.failure) return "was not written: " + *written.failure;
    {
      const std::string name = sameName(target);
      std::lock_guard lock(mutex);
      writtenTargets.insert(name);
    }
    const auto journalFailure =
        journal.add({target, written.backup, detail::fingerprintOf(newBinary.value()),
                     detail::fingerprintOf(binary)});
    replacements += at.size();
    ++filesWritten;
    std::lock_guard lock(mutex);
    pending.written.push_back({file, target, written.backup, at.size()});
    if (journalFailure && filesWritten == 1)
      pending.failed.push_back({target, "was written, but cannot be undone: " + *journalFailure});
    return std::nullopt;
  }
};

ReplaceRun::ReplaceRun(std::vector<std::string> folders, ReplaceOptions options)
    : state_(std::make_unique<State>(std::move(folders), std::move(options))) {}

ReplaceRun::~ReplaceRun() {
  state_->pool->stop();
  state_->pool->wait();
}

void ReplaceRun::start() {
  state_->started = Clock::now();
  state_->pool->start();
}

void ReplaceRun::stop() { state_->pool->stop(); }

void ReplaceRun::wait() { state_->pool->wait(); }

ReplaceRun::Batch ReplaceRun::take() {
  Batch batch;
  std::lock_guard lock(state_->mutex);
  batch.finished = state_->finished;
  batch.written.swap(state_->pending.written);
  batch.failed.swap(state_->pending.failed);
  batch.progress = state_->pool->progress();
  batch.progress.matches = state_->replacements;
  batch.progress.filesWithMatches = state_->filesWritten;
  batch.progress.seconds =
      state_->finished ? state_->seconds
                       : std::chrono::duration<double>(Clock::now() - state_->started).count();
  return batch;
}

ReplaceReport replaceInFiles(const std::vector<std::string>& folders,
                             const ReplaceOptions& options) {
  ReplaceRun run(folders, options);
  run.start();
  run.wait();
  ReplaceRun::Batch batch = run.take();
  ReplaceReport report;
  report.written = std::move(batch.written);
  report.failed = std::move(batch.failed);
  report.replacements = batch.progress.matches;
  return report;
}

}  // namespace vantrel::findfiles
