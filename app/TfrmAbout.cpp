#include "app/TfrmAbout.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include "branding/BrandSettings.h"
#include "feeds/FeedreaderFile.h"
#include "toolkit/GuardedApplication.h"
#include "ui_TfrmAbout.h"
#include "util/Text.h"

namespace zolt {

TfrmAbout::TfrmAbout(const BrandSettingsRecord& brand, const ProgramConfig& config,
                     const Services& services, const MessageBox& msgMain, QWidget* parent)
    : QDialog(parent,
              // A title bar without system menu and without any of its buttons.
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      ui_(std::make_unique<Ui::TfrmAbout>()),
      services_(services),
      msgMain_(msgMain),
      feedreaderFile_(ProgramFeedreader(config)) {
    ui_->setupUi(this);
    lblProductName = ui_->lblProductName;
    lblProductVersion = ui_->lblProductVersion;
    lblCopyright = ui_->lblCopyright;
    memAbout = ui_->memAbout;
    editAbout = ui_->editAbout;
    lblFeedreader = ui_->lblFeedreader;
    setModal(true);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    connect(editAbout, &QPushButton::clicked, this, Guarded([this] { editAboutClick(); }));
    connect(lblFeedreader, &QLabel::linkActivated, this, Guarded([this] { lblFeedreaderClick(); }));
    FormCreate(brand);
}

TfrmAbout::~TfrmAbout() = default;

void TfrmAbout::FormCreate(const BrandSettingsRecord& brand) {
    setWindowTitle(ToQString("About " + brand.ApplicationName + "..."));
    lblProductName->setText(ToQString(brand.ApplicationName));
    lblProductVersion->setText(ToQString(std::string("Product Version: ") + AppVersion));
    lblCopyright->setText(
        ToQString("Copyright (c) " + brand.CopyrightYears + " " + brand.CopyrightCompany));
    // One line of the box for every line break of the text, in any form.
    QString text = ToQString(brand.AboutText);
    text.replace("\r\n", "\n").replace('\r', '\n');
    memAbout->setPlainText(text);
    lblFeedreader->setVisible(!feedreaderFile_.empty());
    lblFeedreader->setToolTip(QDir::toNativeSeparators(PathToQString(feedreaderFile_)));
}

void TfrmAbout::lblFeedreaderClick() {
    const std::string folder = PathFromQString(QFileInfo(PathToQString(feedreaderFile_)).path());
    if (!services_.openFolder(folder)) {
        msgMain_.Show(MessageKind::Warning,
                      "No file manager could be started. feedreader.php is in " +
                          PathFromQString(QDir::toNativeSeparators(PathToQString(folder))) + ".");
    }
}

void TfrmAbout::editAboutClick() {
    accept();
}

}  // namespace zolt
