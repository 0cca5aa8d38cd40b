#include "feeds/ui/AdvancedPage.h"

#include "feeds/EbayFeedCode.h"
#include "feeds/EbaySiteTable.h"
#include "feeds/FeedreaderFile.h"
#include "feeds/ui/CodeBox.h"
#include "feeds/ui/PageLook.h"
#include "feeds/ui/PreviewWindow.h"
#include "toolkit/GuardedApplication.h"
#include "ui_AdvancedPage.h"
#include "util/Text.h"

namespace zolt {

AdvancedPage::AdvancedPage(const ProgramConfig& config, const Services& services,
                           const MessageBox& msgMain, QWidget* parent)
    : QWidget(parent),
      config_(config),
      msgMain_(msgMain),
      preview_(config, services),
      ui_(new Ui::AdvancedPage) {
    SetUpPage(*this, "Advanced", *ui_);
    connect(ui_->btnEGenerate, &QPushButton::clicked, this,
            Guarded([this] { btnEGenerateClick(); }));
    connect(ui_->btnECopyToClipboard, &QPushButton::clicked, this,
            Guarded([this] { btnECopyToClipboardClick(); }));
    connect(ui_->btnEPreview, &QPushButton::clicked, this, Guarded([this] { btnEPreviewClick(); }));
}

AdvancedPage::~AdvancedPage() = default;

void AdvancedPage::FillEbaySites() {
    ui_->cbxEbaySites->clear();
    ebaySiteIds_.clear();
    for (const EbaySite& site : EbaySiteTable) {
        ui_->cbxEbaySites->addItem(QString::fromUtf8(site.name));
        ebaySiteIds_.emplace_back(site.id);
    }
    ui_->cbxEbaySites->setCurrentIndex(ui_->cbxEbaySites->count() - 1);
}

void AdvancedPage::btnEGenerateClick() {
    GenerateCode();
}

std::optional<std::string> AdvancedPage::GenerateCode() {
    const int site = ui_->cbxEbaySites->currentIndex();
    // Once filled, the list offers no empty choice; before that there is no id to write.
    if (site < 0 || site >= static_cast<int>(ebaySiteIds_.size())) {
        return std::nullopt;
    }
    EbayFeedFields fields;
    fields.campaignId = FromQString(ui_->edtEbayCampaign->text());
    fields.siteId = ebaySiteIds_[static_cast<size_t>(site)];
    fields.mainKeyword = FromQString(ui_->edtMainKeyword->text());
    fields.alternativeKeyword = FromQString(ui_->edtAlternativeKeyword->text());
    fields.cacheTime = ui_->edtECache->value();
    fields.numAuctions = ui_->edtENumAuctions->value();
    const FeedOutcome outcome = EbayFeedCode(fields);
    if (!outcome.ok()) {
        msgMain_.Show(MessageKind::Warning, outcome.error());
        return std::nullopt;
    }
    ShowCode(*ui_->memECode, outcome.value());
    return outcome.value();
}

void AdvancedPage::btnECopyToClipboardClick() {
    CopyCode(*ui_->memECode);
    msgMain_.Show(MessageKind::Information, CodeCopiedMessage(ProgramFeedreader(config_)));
}

void AdvancedPage::btnEPreviewClick() {
    if (const std::optional<std::string> snippet = GenerateCode()) {
        preview_.Open(*this, *snippet);
    }
}

void AdvancedPage::ClosePreview() {
    preview_.Close();
}

}  // namespace zolt
