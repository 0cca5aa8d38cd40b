#include "toolkit/HtmlView.h"

#include <QImage>
#include <QTextDocument>

#include "util/HtmlShape.h"
#include "util/Logging.h"
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
    // The view lays out only the page written anew from what the check
    // read, never the page as given: the two readings cannot differ. Either
    // way the text reaches the layout with its long runs broken.
    const HtmlPage page = RewriteHtml(html);
    if (IsHtmlWithinLimits(page.shape, html.size())) {
        setHtml(ToQString(page.html));
        return;
    }
    const HtmlShape& shape = page.shape;
    qCWarning(lcToolkit) << "page shown as plain text:" << html.size() << "bytes, tables nested"
                         << shape.tableDepth << "deep, elements" << shape.elementDepth
                         << "deep, layout work" << shape.layoutWork;
    setPlainText(ToQString(HtmlPlainTextForView(html)));
}

namespace {

// What a page gets instead of a resource it may not load. Qt opens the name
// itself when a resource comes back empty, so there must always be one.
QVariant Placeholder(int type) {
    if (type == QTextDocument::ImageResource) {
        QImage image(1, 1, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        return image;
    }
    if (type == QTextDocument::StyleSheetResource) {
        return QString();
    }
    return QByteArray();
}

}  // namespace

QVariant HtmlView::loadResource(int type, const QUrl& name) {
    // Only resources compiled into the program; pages never load from the
    // network or the disk (nor from a device or a pipe that would never end).
    if (name.scheme() == QLatin1String("qrc")) {
        const QVariant compiled = QTextBrowser::loadResource(type, name);
        if (compiled.isValid() && !compiled.isNull()) {
            return compiled;
        }
    } else {
        qCInfo(lcToolkit) << "page resource not loaded:" << name.toString().left(200);
    }
    return Placeholder(type);
}

void HtmlView::openLink(const QUrl& url) {
    const QString address = url.toString();
    LaunchBrowser(services_, FromQString(address));
    emit linkOpened(address);
}

}  // namespace zolt
