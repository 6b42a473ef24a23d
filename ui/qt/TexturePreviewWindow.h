#pragma once
#include <QWidget>

class QComboBox;
class QLabel;
class QScrollArea;

namespace vantrel::shell {
class TexturePreview;
}

namespace vantrel::qt {

// The Texture Preview window on Qt: a modeless window over the core's
// TexturePreview with the level, zoom and view lists, the picture in a
// scroll area and the status line. It only draws the model and forwards
// the choices to it.
class TexturePreviewWindow : public QWidget {
  Q_OBJECT
 public:
  TexturePreviewWindow(shell::TexturePreview& model, QWidget* owner);

  // Draws the model as it is now: level list, picture, status.
  void refresh();

  QComboBox* levelBox() const { return levels_; }
  QComboBox* zoomBox() const { return zoom_; }
  QComboBox* viewBox() const { return view_; }
  QLabel* pictureLabel() const { return picture_; }
  QLabel* statusLabel() const { return status_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  // The scroll area's viewport changed size: a fitted picture follows.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void drawPicture();

  shell::TexturePreview& model_;
  QComboBox* levels_ = nullptr;
  QComboBox* zoom_ = nullptr;
  QComboBox* view_ = nullptr;
  QScrollArea* scroll_ = nullptr;
  QLabel* picture_ = nullptr;
  QLabel* status_ = nullptr;
};

}  // namespace vantrel::qt
