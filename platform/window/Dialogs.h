#pragma once
#include <deque>
#include <optional>
#include <string>
#include <vector>

// The one seam for modal things: file dialogs, message boxes and questions.
// Each window implements it with its toolkit's dialogs; tests install
// ScriptedDialogs, which answers from queues and records every request.
// Texts and paths are UTF-8.
namespace vantrel::archive {
class MemberPicker;
}

namespace vantrel::platform {

enum class MessageIcon { Stop, Warning, Information };

enum class Answer { Yes, No, Cancel };

struct FileDialogRequest {
  bool save = false;   // save dialog, else open dialog
  std::string filter;  // "Description (*.x)|*.x" pairs, as the program writes them
  std::string title;
  std::string startFolder;  // empty: the platform chooses
  std::string fileName;     // save dialogs: the name filled in; empty: none
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // The chosen full path, or an empty string when the user cancels.
  virtual std::string chooseFile(const FileDialogRequest& request) = 0;
  // A message box with the application title as caption and one OK button.
  virtual void message(const std::string& text, MessageIcon icon) = 0;
  // A question with Yes and No (and Cancel when withCancel); closing the
  // box answers Cancel, or No when there is no Cancel.
  virtual Answer ask(const std::string& text, bool withCancel) = 0;
  // A whole number from minimum to maximum, asked in a small box titled
  // title with prompt above the field (value filled in); nullopt on Cancel.
  virtual std::optional<long> askNumber(const std::string& title, const std::string& prompt,
                                        long minimum, long maximum, long value) = 0;
  // The list of a packed file's members to open one from, titled title
  // ("Open from NAME.ap"): a filter box above a list of path and size,
  // drawn from picker. True when the user chose the selected member (Enter,
  // a double-click, Open); false on Escape or Cancel.
  virtual bool pickMember(const std::string& title, archive::MemberPicker& picker) = 0;
};

// Dialogs a test installed for every window, or nullptr.
Dialogs* dialogsOverride();
void setDialogsOverride(Dialogs* replacement);  // nullptr: each window's own

// For tests: answers file dialogs and questions from queues (an empty
// answer, a cancel, when a queue is exhausted) and records every request.
class ScriptedDialogs : public Dialogs {
 public:
  struct Message {
    std::string text;
    MessageIcon icon;
  };
  std::deque<std::string> answers;
  std::deque<Answer> questionAnswers;
  std::deque<std::optional<long>> numberAnswers;  // exhausted: Cancel
  // The member to pick, by path; "" or an exhausted queue cancels.
  std::deque<std::string> memberAnswers;
  std::vector<std::string> memberTitles;
  std::vector<FileDialogRequest> fileRequests;
  std::vector<Message> messages;
  std::vector<std::string> questions;

  std::string chooseFile(const FileDialogRequest& request) override;
  void message(const std::string& text, MessageIcon icon) override;
  Answer ask(const std::string& text, bool withCancel) override;
  std::optional<long> askNumber(const std::string& title, const std::string& prompt, long minimum,
                                long maximum, long value) override;
  bool pickMember(const std::string& title, archive::MemberPicker& picker) override;
};

}  // namespace vantrel::platform
