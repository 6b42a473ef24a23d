#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/PreviewPicture.h"
#include "texture/RgbaImage.h"
#include "texture/TextureLevels.h"

// The Texture Preview window without a toolkit: the levels of the editor's
// text, the level, zoom and view chosen, the picture to draw and the status
// line. A window shows what this holds and forwards the user's choices; it
// calls showText once the editor's text has rested after a change, so a
// large texture is not decoded again for every key typed.
namespace vantrel::shell {

class TexturePreview {
 public:
  // The window opened or closed. While closed the text is not read at all.
  void setOpen(bool open);
  bool isOpen() const { return open_; }

  // The editor's text now: its levels are read again and the chosen level
  // decoded. The level stays chosen while the text still has it, else the
  // first is shown.
  void showText(std::string_view text);

  // The levels' names for the level list ("Level 1: 256 × 64, DXT5"); empty
  // when the text is no texture.
  const std::vector<std::string>& levelNames() const { return levelNames_; }
  std::size_t level() const { return level_; }
  // Another level: decoded from the text last shown. Beyond the list:
  // nothing changes.
  void chooseLevel(std::size_t index);

  PreviewZoom zoom() const { return zoom_; }
  void setZoom(PreviewZoom zoom) { zoom_ = zoom; }
  PreviewView view() const { return view_; }
  void setView(PreviewView view);

  // The picture to draw, opaque (see previewPicture); 0 x 0 when there is
  // nothing to show (no texture, a level that cannot be decoded).
  const texture::RgbaImage& picture() const { return picture_; }
  // Its size on the screen in a viewport of that many pixels.
  PictureSize drawnSize(std::uint32_t viewportWidth, std::uint32_t viewportHeight) const;
  // "Level 1 of 9: 512 × 512, DXT5", or why nothing is shown.
  const std::string& status() const { return status_; }

 private:
  void decodeChosenLevel();
  void composePicture();

  bool open_ = false;
  std::string text_;  // the text last shown; the levels' places point into it
  std::optional<texture::TextureLevels> levels_;
  std::vector<std::string> levelNames_;
  std::size_t level_ = 0;
  PreviewZoom zoom_ = PreviewZoom::Fit;
  PreviewView view_ = PreviewView::ColourOverChecks;
  texture::RgbaImage decoded_;  // the chosen level as decoded
  texture::RgbaImage picture_;  // decoded_ as the view shows it
  std::string status_ = "The editor holds no texture.";
};

// The message of every texture command when the editor's text is no
// texture at all.
inline constexpr const char* kNoTextureMessage =
    "The editor holds no texture: open a texture file (.TgPcDx) first.";

// True when the text has a texture level in it (it may still be refused as
// damaged); false for any other text.
bool looksLikeTexture(std::string_view text);

}  // namespace vantrel::shell
