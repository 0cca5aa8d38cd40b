#pragma once

class QWidget;

namespace zolt {

// The pages are laid out in pixels for a small 11-pixel font of Tahoma's
// width; labels that would still cut their text in the font at hand grow to
// the right and downwards, keeping their place.
void FitPageLook(QWidget& page);

}  // namespace zolt
