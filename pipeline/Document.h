#pragma once
#include <string>
#include <utility>

#include "pipeline/WorkingNames.h"

namespace vantrel::pipeline {

// What the editor's text is: which kind of file it came from, that file,
// and the working XML a .bin is converted through. The editor itself holds
// the text and its save point; the path box names where Save .bin writes
// (the user may edit it). The commands change a Document only through
// these steps, so it is always in one of its states.
class Document {
 public:
  enum class Kind {
    None,           // nothing open: the start, or a failed open
    Bin,            // a .bin, converted into the working XML
    OtherFile,      // any other file, shown for reading: Save .bin refuses it
    ArchiveMember,  // a .bin taken out of a packed archive
  };

  Kind kind() const { return kind_; }
  // The file the text came from; "" when none (also after Clear).
  const std::string& path() const { return path_; }
  // Name (no folder) in TempFiles of the working XML of the last .bin that
  // was opened, also after a failed open or Clear (Clear deletes it); ""
  // before any.
  const std::string& workingXml() const { return workingXml_; }
  // The file's name for titles and questions; "" when none.
  std::string name() const { return path_.empty() ? std::string() : fileNameOf(path_); }
  // The name as the title shows it: a member of a packed file says where it
  // came from ("Tree.bin (from MainContent.ap)").
  std::string titleName() const {
    if (kind_ != Kind::ArchiveMember || path_.empty()) return name();
    return name() + " (from " + fileNameOf(archivePath_) + ")";
  }
  // The packed file a member came from; "" for any other document.
  const std::string& archivePath() const { return archivePath_; }
  // Save .bin asked whether a member may be written as a loose file, and
  // the user said yes; asked once per opened member.
  bool looseWriteAgreed() const { return looseWriteAgreed_; }
  void agreeToLooseWrite() { looseWriteAgreed_ = true; }
  // Save .bin may rebuild the file from the text.
  bool isBin() const { return kind_ == Kind::Bin || kind_ == Kind::ArchiveMember; }
  // The text came from View other files (Save .bin refuses with its own
  // message); also true after such an open failed or was cleared.
  bool cameFromOtherFile() const { return otherFile_; }

  // An open of a .bin starts: until it has succeeded, nothing is open.
  void beginBinOpen(std::string workingXml) {
    *this = Document();
    workingXml_ = std::move(workingXml);
  }
  // An open of a member of the packed file at archivePath starts.
  void beginMemberOpen(std::string workingXml, std::string archivePath) {
    beginBinOpen(std::move(workingXml));
    archivePath_ = std::move(archivePath);
  }
  // An open of any other file starts.
  void beginOtherOpen() {
    const std::string xml = workingXml_;
    *this = Document();
    workingXml_ = xml;
    otherFile_ = true;
  }
  // The open that began has put the file's text into the editor. For a
  // member, path is its loose file beside the packed file.
  void opened(std::string path) {
    kind_ = otherFile_ ? Kind::OtherFile : archivePath_.empty() ? Kind::Bin : Kind::ArchiveMember;
    path_ = std::move(path);
  }
  // Clear: the editor is empty and names no file, but keeps its kind: text
  // typed or pasted afterwards still saves to the .bin the path box names,
  // through the same working XML.
  void cleared() { path_.clear(); }

 private:
  Kind kind_ = Kind::None;
  std::string path_;
  std::string workingXml_;
  std::string archivePath_;
  bool otherFile_ = false;
  bool looseWriteAgreed_ = false;
};

}  // namespace vantrel::pipeline
