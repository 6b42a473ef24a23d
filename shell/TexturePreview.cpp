#include "shell/TexturePreview.h"

#include <utility>
#include <variant>

#include "texture/LevelDecoder.h"
#include "texture/TextureFormat.h"

namespace vantrel::shell {

bool looksLikeTexture(std::string_view text) {
  return text.find("<cHcImageDx") != std::string_view::npos;
}

void TexturePreview::setOpen(bool open) {
  open_ = open;
  if (open) return;
  // Nothing of a closed window's text is kept: it may be a large texture.
  std::string().swap(text_);
  levels_.reset();
  levelNames_.clear();
  decoded_ = {};
  picture_ = {};
}

void TexturePreview::showText(std::string_view text) {
  text_.assign(text);
  levels_.reset();
  levelNames_.clear();
  decoded_ = {};
  picture_ = {};
  if (!looksLikeTexture(text_)) {
    status_ = kNoTextureMessage;
    return;
  }
  auto result = texture::readTextureLevels(text_);
  if (auto* problem = std::get_if<texture::TextureProblem>(&result)) {
    status_ = problem->message;
    return;
  }
  levels_ = std::move(std::get<texture::TextureLevels>(result));
  for (std::size_t i = 0; i < levels_->levels.size(); ++i)
    levelNames_.push_back(texture::describeLevel(levels_->levels[i], i));
  if (level_ >= levelNames_.size()) level_ = 0;
  decodeChosenLevel();
}

void TexturePreview::chooseLevel(std::size_t index) {
  if (!levels_ || index >= levels_->levels.size() || index == level_) return;
  level_ = index;
  decodeChosenLevel();
}

void TexturePreview::setView(PreviewView view) {
  if (view == view_) return;
  view_ = view;
  composePicture();
}

PictureSize TexturePreview::drawnSize(std::uint32_t viewportWidth,
                                      std::uint32_t viewportHeight) const {
  return shell::drawnSize(picture_.width, picture_.height, zoom_, viewportWidth, viewportHeight);
}

void TexturePreview::decodeChosenLevel() {
  const texture::TextureLevel& chosen = levels_->levels[level_];
  const std::string format =
      chosen.blockFormat ? std::string(texture::fourCc(*chosen.blockFormat)) : chosen.formatName;
  status_ = "Level " + std::to_string(level_ + 1) + " of " +
            std::to_string(levels_->levels.size()) + ": " + std::to_string(chosen.width) +
            " \xC3\x97 " + std::to_string(chosen.height) + ", " + format;
  auto result = texture::decodeLevel(text_, chosen);
  if (auto* problem = std::get_if<texture::TextureProblem>(&result)) {
    decoded_ = {};
    picture_ = {};
    status_ += ". " + problem->message;
    return;
  }
  decoded_ = std::move(std::get<texture::RgbaImage>(result));
  composePicture();
}

void TexturePreview::composePicture() {
  picture_ = decoded_.pixels.empty() ? texture::RgbaImage{} : previewPicture(decoded_, view_);
}

}  // namespace vantrel::shell
