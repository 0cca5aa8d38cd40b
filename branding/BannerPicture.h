#pragma once

#include <optional>
#include <string>

namespace zolt {

// "banner" n ".dat": the stored picture of the n-th banner entry (from 1).
std::string BannerFileName(int number);

// What follows the last "\", "/" or ":" of a banner's image name. A "/"
// separates too, so that no name can point into another folder.
std::string ImageFileNamePart(const std::string& imageName);
// The picture format named by the image name's extension, lower-cased
// ("jpg", "gif", "bmp"); empty when the file-name part has no extension.
std::string BannerPictureFormat(const std::string& imageName);
// Whether the animated-GIF control shows the banner: the lower-cased
// file-name part contains ".gif" anywhere.
bool IsGifBanner(const std::string& imageName);

// A banner picture read from its stored file, with the format its image
// name gives.
struct BannerPicture {
    std::string bytes;
    std::string format;
    bool animated = false;
};

// Reads "banner" n ".dat" beside the executable as it is; the file is never
// renamed or written. Nothing when `number` is 0, the image name is empty,
// or the file is missing or unreadable.
std::optional<BannerPicture> ReadBannerPicture(const std::string& baseDir, int number,
                                               const std::string& imageName);

}  // namespace zolt
