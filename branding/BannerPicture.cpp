#include "branding/BannerPicture.h"

#include "branding/BrandFiles.h"
#include "util/Files.h"
#include "util/Text.h"

namespace zolt {

std::string BannerFileName(int number) {
    return "banner" + std::to_string(number) + ".dat";
}

std::string ImageFileNamePart(const std::string& imageName) {
    const std::size_t cut = imageName.find_last_of("\\/:");
    return cut == std::string::npos ? imageName : imageName.substr(cut + 1);
}

std::string BannerPictureFormat(const std::string& imageName) {
    const std::string name = ImageFileNamePart(imageName);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos) {
        return std::string();
    }
    return AsciiLower(name.substr(dot + 1));
}

bool IsGifBanner(const std::string& imageName) {
    return AsciiLower(ImageFileNamePart(imageName)).find(".gif") != std::string::npos;
}

std::optional<BannerPicture> ReadBannerPicture(const std::string& baseDir, int number,
                                               const std::string& imageName) {
    if (number <= 0 || imageName.empty()) {
        return std::nullopt;
    }
    const std::string path = FileBeside(baseDir, BannerFileName(number));
    if (!BrandFileSizeFits(path, "banner")) {
        return std::nullopt;
    }
    std::optional<std::string> bytes = ReadWholeFile(path, kMaxBrandFileSize);
    if (!bytes) {
        return std::nullopt;
    }
    BannerPicture picture;
    picture.bytes = std::move(*bytes);
    picture.animated = IsGifBanner(imageName);
    picture.format = picture.animated ? std::string("gif") : BannerPictureFormat(imageName);
    return picture;
}

}  // namespace zolt
