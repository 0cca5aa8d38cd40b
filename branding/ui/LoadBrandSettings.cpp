#include "branding/ui/LoadBrandSettings.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBuffer>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>

#include <exception>

#include "branding/IconPictures.h"
#include "toolkit/BannerImage.h"
#include "toolkit/GifBanner.h"
#include "toolkit/LinkLabel.h"
#include "util/Logging.h"
#include "util/Text.h"

namespace zolt {

namespace {

QByteArray Bytes(const std::string& s) {
    return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}

// The picture in the format its image name gives, and in no other: a
// stored file whose content does not match its name shows nothing.
QImage DecodePicture(const BannerPicture& picture) {
    if (picture.format.empty()) {
        return QImage();
    }
    QByteArray data = Bytes(picture.bytes);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, Bytes(picture.format));
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

// Shows the banner; false when its picture cannot be shown.
bool ShowBanner(const BannerPicture& picture, const BrandTarget& t) {
    if (picture.animated) {
        t.imgBanner->hide();
        t.gifBanner->show();
        if (!t.gifBanner->setAnimation(Bytes(picture.bytes))) {
            return false;
        }
        t.panBanner->setFixedHeight(BannerStripHeight(t.gifBanner->height()));
        return true;
    }
    t.gifBanner->hide();
    t.imgBanner->show();
    const QImage image = DecodePicture(picture);
    if (image.isNull()) {
        return false;
    }
    t.imgBanner->setPicture(QPixmap::fromImage(image));
    t.panBanner->setFixedHeight(BannerStripHeight(t.imgBanner->height()));
    return true;
}

void SetLink(LinkLabel* label, const std::string& caption, const std::string& url) {
    label->setText(ToQString(caption));
    label->setUrl(url);
    label->adjustSize();
}

}  // namespace

void ApplyBrandSetup(const BrandSetup& setup, const BrandTarget& t) {
    t.window->setWindowTitle(ToQString(setup.windowTitle));
    t.btnNews->setVisible(setup.newsButtonVisible);
    t.btnMakeMoney->setText(ToQString(setup.makeMoneyCaption));

    const BrandContent& content = setup.record.content;
    if (content.BannerHasClick()) {
        t.imgBanner->setCursor(Qt::PointingHandCursor);
        t.gifBanner->setCursor(Qt::PointingHandCursor);
    }
    if (!setup.banner || !ShowBanner(*setup.banner, t)) {
        if (setup.banner) {
            qCWarning(lcBranding) << "banner refused: its file is not the picture its name says";
        }
        t.panBanner->hide();
    }
    t.panLinks->setVisible(content.LinksVisible());
    SetLink(t.lblLink1URL, content.Link1Caption, content.Link1URL);
    SetLink(t.lblLink2URL, content.Link2Caption, content.Link2URL);

    if (!setup.iconPath.empty()) {
        const IconPictures read = ReadIconPictures(PathToQString(setup.iconPath));
        QIcon icon;
        for (const QImage& picture : read.pictures) {
            icon.addPixmap(QPixmap::fromImage(picture));
        }
        if (!read.unreadable.empty()) {
            qCWarning(lcBranding) << "icon: entries" << read.unreadable
                                  << "of main.ico are no pictures Qt can read; sizes used:"
                                  << IconSizesText(read).c_str();
        }
        if (!icon.isNull()) {
            QApplication::setWindowIcon(icon);
            t.window->setWindowIcon(icon);
        } else {
            qCWarning(lcBranding) << "icon refused: main.ico holds no picture Qt can read";
        }
    }
}

std::optional<BrandSetup> ReadBrandSetupOrNothing(const std::string& baseDir,
                                                  const Services& services) {
    try {
        return ReadBrandSetup(baseDir, services);
    } catch (const std::exception& e) {
        // Whatever went wrong with the brand, the window has to come up.
        qCWarning(lcBranding) << "brand not read:" << e.what();
        return std::nullopt;
    }
}

BrandSettingsRecord LoadBrandSettings(const std::optional<BrandSetup>& setup,
                                      const BrandTarget& target) {
    if (!setup) {
        return {};
    }
    ApplyBrandSetup(*setup, target);
    return setup->record;
}

void CenterBanner(const BrandTarget& t) {
    for (QWidget* banner :
         {static_cast<QWidget*>(t.imgBanner), static_cast<QWidget*>(t.gifBanner)}) {
        const BannerPosition p = CenterBannerPosition(t.panBanner->width(), t.panBanner->height(),
                                                      banner->width(), banner->height());
        banner->move(p.left, p.top);
    }
}

}  // namespace zolt
