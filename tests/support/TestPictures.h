#pragma once

#include <string>

namespace zolt::test {

// A real JPEG of the given size, one plain colour.
std::string MakeJpeg(int width, int height);
// A real two-frame animated GIF of the given size, written byte by byte
// (Qt reads GIF but cannot write it).
std::string MakeGif(int width, int height);
// A real Windows icon, 32 by 32.
std::string MakeIco();
// The same icon with an entry before its picture that Qt cannot read, as
// an entry of a format or size Qt's reader lacks would be.
std::string MakeIcoWithUnreadableFirstEntry();

}  // namespace zolt::test
