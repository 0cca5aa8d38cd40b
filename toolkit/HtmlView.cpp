#include "toolkit/HtmlView.h"

#include "util/Text.h"
#include "util/UUtils.h"

namespace zolt {

HtmlView::HtmlView(const Services& services, QWidget* parent)
    : QTextBrowser(parent), services_(services) {
    setReadOnly(true);
    setOpenLinks(false);
    setOpenExternalLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &HtmlView::openLink);
}

void HtmlView::setHtmlSource(const std::string& html) {
    source_ = html;
    setHtml(ToQString(html));
}

QVariant HtmlView::loadResource(int type, const QUrl& name) {
    // Only resources compiled into the program; pages never load from the
    // network or the disk.
    if (name.scheme() == "qrc") {
        return QTextBrowser::loadResource(type, name);
    }
    return QVariant();
}

void HtmlView::openLink(const QUrl& url) {
    const QString address = url.toString();
    LaunchBrowser(services_, FromQString(address));
    emit linkOpened(address);
}

}  // namespace zolt
