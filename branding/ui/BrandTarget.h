#pragma once

class QAbstractButton;
class QWidget;

namespace zolt {

class BannerImage;
class GifBanner;
class LinkLabel;

// The controls of the main window that the brand changes.
struct BrandTarget {
    QWidget* window = nullptr;
    QAbstractButton* btnMakeMoney = nullptr;
    QWidget* btnNews = nullptr;
    QWidget* panBanner = nullptr;
    BannerImage* imgBanner = nullptr;
    GifBanner* gifBanner = nullptr;
    QWidget* panLinks = nullptr;
    LinkLabel* lblLink1URL = nullptr;
    LinkLabel* lblLink2URL = nullptr;
};

}  // namespace zolt
