#include "platform/window/Dialogs.h"

#include "archive/MemberPicker.h"

namespace vantrel::platform {

namespace {
Dialogs* installed = nullptr;
}  // namespace

Dialogs* dialogsOverride() { return installed; }

void setDialogsOverride(Dialogs* replacement) { installed = replacement; }

std::string ScriptedDialogs::chooseFile(const FileDialogRequest& request) {
  fileRequests.push_back(request);
  if (answers.empty()) return {};
  std::string answer = answers.front();
  answers.pop_front();
  return answer;
}

void ScriptedDialogs::message(const std::string& text, MessageIcon icon) {
  messages.push_back({text, icon});
}

Answer ScriptedDialogs::ask(const std::string& text, bool withCancel) {
  questions.push_back(text);
  if (questionAnswers.empty()) return withCancel ? Answer::Cancel : Answer::No;
  const Answer answer = questionAnswers.front();
  questionAnswers.pop_front();
  return answer;
}

std::optional<long> ScriptedDialogs::askNumber(const std::string& title, const std::string& prompt,
                                               long, long, long) {
  questions.push_back(title + ": " + prompt);
  if (numberAnswers.empty()) return std::nullopt;
  const std::optional<long> answer = numberAnswers.front();
  numberAnswers.pop_front();
  return answer;
}

bool ScriptedDialogs::pickMember(const std::string& title, archive::MemberPicker& picker) {
  memberTitles.push_back(title);
  if (memberAnswers.empty()) return false;
  const std::string answer = memberAnswers.front();
  memberAnswers.pop_front();
  picker.setFilter("");
  for (std::size_t row = 0; row < picker.rowCount(); ++row) {
    if (picker.row(row).path == answer) {
      picker.select(row);
      return true;
    }
  }
  return false;
}

}  // namespace vantrel::platform
