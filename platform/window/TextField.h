#pragma once
#include <string>
#include <string_view>

// A one-line text box as the core sees it (the path box, the find and
// replace boxes): its text in UTF-8.
namespace vantrel::platform {

class TextField {
 public:
  virtual ~TextField() = default;
  virtual std::string text() const = 0;
  virtual void setText(std::string_view text) = 0;
};

// A text field that is only a string, for code and tests without a window.
class PlainTextField : public TextField {
 public:
  std::string text() const override { return text_; }
  void setText(std::string_view text) override { text_ = std::string(text); }

 private:
  std::string text_;
};

}  // namespace vantrel::platform
