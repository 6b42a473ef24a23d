#pragma once
#include <QString>
#include <deque>
#include <vector>

class QWidget;

// The one seam for modal things: file dialogs and message boxes. The Qt
// implementation shows real dialogs; tests install ScriptedDialogs, which
// answers from a queue and records every request.
namespace vantrel::platform {

enum class MessageIcon { Stop, Warning, Information };

struct FileDialogRequest {
  bool save = false;      // save dialog, else open dialog
  QString filter;         // "Description (*.x)|*.x" pairs, as the program writes them
  QString title;
  QString startFolder;    // empty: the platform chooses
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // The chosen full path, or an empty string when the user cancels.
  virtual QString chooseFile(QWidget* parent, const FileDialogRequest& request) = 0;
  // A message box with the application title as caption and one OK button.
  virtual void message(QWidget* parent, const QString& text, MessageIcon icon) = 0;
};

// The dialogs in use (the Qt ones unless a test installed others).
Dialogs& dialogs();
void setDialogs(Dialogs* replacement);  // nullptr restores the Qt ones

// "Desc (*.x)|*.x|Other (*.*)|*.*" -> Qt's "Desc (*.x);;Other (*.*)".
QString toQtFilter(const QString& pipeFilter);

// For tests: answers file dialogs from a queue (empty answer when the queue
// is exhausted, as a cancel) and records every request and message.
class ScriptedDialogs : public Dialogs {
 public:
  struct Message {
    QString text;
    MessageIcon icon;
  };
  std::deque<QString> answers;
  std::vector<FileDialogRequest> fileRequests;
  std::vector<Message> messages;

  QString chooseFile(QWidget* parent, const FileDialogRequest& request) override;
  void message(QWidget* parent, const QString& text, MessageIcon icon) override;
};

}  // namespace vantrel::platform
