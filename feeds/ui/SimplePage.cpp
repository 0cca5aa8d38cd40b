#include "feeds/ui/SimplePage.h"

#include "feeds/FeedSearchSources.h"
#include "feeds/FeedreaderFile.h"
#include "feeds/NewsFeedCode.h"
#include "feeds/ui/CodeBox.h"
#include "feeds/ui/PageLook.h"
#include "feeds/ui/PreviewWindow.h"
#include "toolkit/GuardedApplication.h"
#include "ui_SimplePage.h"
#include "util/Text.h"

namespace zolt {

SimplePage::SimplePage(const ProgramConfig& config, const Services& services,
                       const MessageBox& msgMain, QWidget* parent)
    : QWidget(parent),
      config_(config),
      msgMain_(msgMain),
      preview_(config, services),
      ui_(new Ui::SimplePage) {
    SetUpPage(*this, "Simple", *ui_);
    for (const FeedSearchSource& source : FeedSearchSources) {
        ui_->cbxSites->addItem(QString::fromUtf8(source.name));
    }
    ui_->cbxSites->setCurrentIndex(0);
    connect(ui_->btnSearchFeed, &QPushButton::clicked, this,
            Guarded([this] { btnSearchFeedClick(); }));
    connect(ui_->btnFGenerateCode, &QPushButton::clicked, this,
            Guarded([this] { btnFGenerateCodeClick(); }));
    connect(ui_->btnFCopyToClipboard, &QPushButton::clicked, this,
            Guarded([this] { btnFCopyToClipboardClick(); }));
    connect(ui_->btnFPreview, &QPushButton::clicked, this, Guarded([this] { btnFPreviewClick(); }));
}

SimplePage::~SimplePage() = default;

void SimplePage::btnSearchFeedClick() {
    const FeedOutcome outcome =
        FindRssFeed(ui_->cbxSites->currentIndex(), FromQString(ui_->edtKeyword->text()));
    if (!outcome.ok()) {
        msgMain_.Show(MessageKind::Warning, outcome.error());
    } else if (!outcome.value().empty()) {
        ui_->edtRSSFeed->setText(ToQString(outcome.value()));
    }
}

void SimplePage::btnFGenerateCodeClick() {
    GenerateCode();
}

std::optional<std::string> SimplePage::GenerateCode() {
    const FeedOutcome outcome =
        NewsFeedCode(FromQString(ui_->edtRSSFeed->text()), ui_->edtFChacheTime->value(),
                     ui_->chkFeedTitles->isChecked(), ui_->edtFNumItems->value());
    if (!outcome.ok()) {
        msgMain_.Show(MessageKind::Warning, outcome.error());
        return std::nullopt;
    }
    ShowCode(*ui_->memFCode, outcome.value());
    return outcome.value();
}

void SimplePage::btnFCopyToClipboardClick() {
    CopyCode(*ui_->memFCode);
    msgMain_.Show(MessageKind::Information, CodeCopiedMessage(ProgramFeedreader(config_)));
}

void SimplePage::btnFPreviewClick() {
    if (const std::optional<std::string> snippet = GenerateCode()) {
        preview_.Open(*this, *snippet);
    }
}

void SimplePage::ClosePreview() {
    preview_.Close();
}

}  // namespace zolt
