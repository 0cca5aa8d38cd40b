#include "toolkit/Skin.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QPalette>
#include <QRegularExpression>

#include "util/Text.h"
#include "util/Zlib.h"

namespace zolt {

namespace {

std::optional<std::string> DecodeSkin(const QByteArray& packed) {
    if (packed.isEmpty()) {
        return std::nullopt;
    }
    auto sheet = ZlibDecompress(std::string(packed.constData(), static_cast<size_t>(packed.size())),
                                8 * 1024 * 1024);
    if (!sheet || sheet->empty()) {
        return std::nullopt;
    }
    return sheet;
}

}  // namespace

const std::string& BuiltInSkin() {
    static const std::string sheet = [] {
        QFile f(":/toolkit/builtin-skin.dat");
        if (!f.open(QIODevice::ReadOnly)) {
            return std::string();
        }
        return DecodeSkin(f.readAll()).value_or(std::string());
    }();
    return sheet;
}

namespace {

void SetBaseLook(QApplication& app) {
    static bool set = false;
    if (set) {
        return;
    }
    set = true;
    QFont font;
    font.setFamilies({"Liberation Sans", "Arial", "DejaVu Sans"});
    font.setPointSize(9);
    QApplication::setFont(font);
    QPalette palette = app.palette();
    const QColor text(0x1f, 0x29, 0x33);
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(QPalette::Active, role, text);
        palette.setColor(QPalette::Inactive, role, text);
    }
    QApplication::setPalette(palette);
}

}  // namespace

void ApplySkin(const std::string& styleSheet) {
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) {
        SetBaseLook(*app);
        const QString sheet =
            QString::fromUtf8(styleSheet.data(), static_cast<qsizetype>(styleSheet.size()));
        // Setting the same sheet again would still restyle every control.
        if (sheet != app->styleSheet()) {
            app->setStyleSheet(sheet);
        }
    }
}

bool SkinSetsFonts() {
    static const QRegularExpression fontProperty(QStringLiteral("font(-family|-size)?\\s*:"),
                                                 QRegularExpression::CaseInsensitiveOption);
    const auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    return app != nullptr && app->styleSheet().contains(fontProperty);
}

std::string CurrentSkin() {
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) {
        return FromQString(app->styleSheet());
    }
    return std::string();
}

}  // namespace zolt
