#include "ui/qt/TexturePreviewWindow.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "shell/TexturePreview.h"
#include "ui/qt/QtText.h"

namespace vantrel::qt {

namespace {

// The lists' entries in the order of the core's enumerations.
constexpr const char* kZoomNames[] = {"Fit", "1:1", "2:1"};
constexpr const char* kViewNames[] = {"Colour with alpha over checks", "Colour without alpha",
                                      "Alpha only"};

QComboBox* listOf(const char* const* names, std::size_t count, QWidget* parent) {
  auto* box = new QComboBox(parent);
  for (std::size_t i = 0; i < count; ++i) box->addItem(QString::fromLatin1(names[i]));
  return box;
}

}  // namespace

TexturePreviewWindow::TexturePreviewWindow(shell::TexturePreview& model, QWidget* owner)
    : QWidget(owner, Qt::Window), model_(model) {
  setObjectName(QStringLiteral("TexturePreview"));
  setWindowTitle(QStringLiteral("Texture Preview"));
  levels_ = new QComboBox(this);
  levels_->setObjectName(QStringLiteral("levels"));
  levels_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  zoom_ = listOf(kZoomNames, std::size(kZoomNames), this);
  zoom_->setObjectName(QStringLiteral("zoom"));
  view_ = listOf(kViewNames, std::size(kViewNames), this);
  view_->setObjectName(QStringLiteral("view"));

  picture_ = new QLabel;
  picture_->setObjectName(QStringLiteral("picture"));
  picture_->setAlignment(Qt::AlignCenter);
  scroll_ = new QScrollArea(this);
  scroll_->setWidget(picture_);
  scroll_->setAlignment(Qt::AlignCenter);
  scroll_->setBackgroundRole(QPalette::Dark);
  scroll_->viewport()->installEventFilter(this);
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("status"));
  status_->setWordWrap(true);
  status_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* choices = new QHBoxLayout;
  choices->addWidget(new QLabel(QStringLiteral("Level:"), this));
  choices->addWidget(levels_);
  choices->addSpacing(12);
  choices->addWidget(new QLabel(QStringLiteral("Zoom:"), this));
  choices->addWidget(zoom_);
  choices->addSpacing(12);
  choices->addWidget(new QLabel(QStringLiteral("View:"), this));
  choices->addWidget(view_);
  choices->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(choices);
  layout->addWidget(scroll_, 1);
  layout->addWidget(status_);
  resize(640, 520);

  connect(levels_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (index < 0) return;
    model_.chooseLevel(static_cast<std::size_t>(index));
    refresh();
  });
  connect(zoom_, &QComboBox::currentIndexChanged, this, [this](int index) {
    model_.setZoom(static_cast<shell::PreviewZoom>(index));
    drawPicture();
  });
  connect(view_, &QComboBox::currentIndexChanged, this, [this](int index) {
    model_.setView(static_cast<shell::PreviewView>(index));
    drawPicture();
  });
}

void TexturePreviewWindow::refresh() {
  {
    // Filling the list must not choose a level of its own.
    const QSignalBlocker blocker(levels_);
    levels_->clear();
    for (const std::string& name : model_.levelNames()) levels_->addItem(fromUtf8(name));
    if (!model_.levelNames().empty()) levels_->setCurrentIndex(static_cast<int>(model_.level()));
  }
  levels_->setEnabled(!model_.levelNames().empty());
  status_->setText(fromUtf8(model_.status()));
  drawPicture();
}

void TexturePreviewWindow::drawPicture() {
  const texture::RgbaImage& picture = model_.picture();
  if (picture.pixels.empty()) {
    picture_->setPixmap(QPixmap());
    picture_->resize(0, 0);
    return;
  }
  const QSize room = scroll_->viewport()->size();
  const shell::PictureSize size =
      model_.drawnSize(static_cast<std::uint32_t>(std::max(0, room.width())),
                       static_cast<std::uint32_t>(std::max(0, room.height())));
  const QImage image(picture.pixels.data(), static_cast<int>(picture.width),
                     static_cast<int>(picture.height), static_cast<int>(picture.width * 4),
                     QImage::Format_RGBA8888);
  // Enlarged, each texel stays a sharp square; reduced, texels are averaged.
  const bool enlarged = size.width >= picture.width;
  const QImage drawn = image.scaled(static_cast<int>(size.width), static_cast<int>(size.height),
                                    Qt::IgnoreAspectRatio,
                                    enlarged ? Qt::FastTransformation : Qt::SmoothTransformation);
  picture_->setPixmap(QPixmap::fromImage(drawn));
  picture_->resize(drawn.size());
}

bool TexturePreviewWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == scroll_->viewport() && event->type() == QEvent::Resize &&
      model_.zoom() == shell::PreviewZoom::Fit)
    drawPicture();
  return QWidget::eventFilter(watched, event);
}

void TexturePreviewWindow::closeEvent(QCloseEvent* event) {
  model_.setOpen(false);
  QWidget::closeEvent(event);
}

}  // namespace vantrel::qt
