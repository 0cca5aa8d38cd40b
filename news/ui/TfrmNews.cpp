#include "news/ui/TfrmNews.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QShowEvent>
#include <QTreeWidgetItem>

#include <cstdint>
#include <vector>

#include "news/LastNewsId.h"
#include "news/NewsItem.h"
#include "news/ui/NewsListView.h"
#include "toolkit/GuardedApplication.h"
#include "toolkit/HtmlView.h"
#include "ui_TfrmNews.h"
#include "util/Logging.h"
#include "util/Text.h"

namespace zolt {

namespace {

constexpr int kUpperPanelHeight = 105;
constexpr int kPublishedWidth = 160;
constexpr int kIndexRole = Qt::UserRole;

// Shows the hourglass over the window's parts while a page is fetched and
// ends the loading state, also when the fetch leaves by an exception.
class LoadingGuard {
  public:
    LoadingGuard(bool& loading, std::vector<QWidget*> widgets)
        : loading_(loading), widgets_(std::move(widgets)) {
        loading_ = true;
        for (QWidget* w : widgets_) {
            w->setCursor(Qt::WaitCursor);
        }
    }
    ~LoadingGuard() {
        for (QWidget* w : widgets_) {
            w->unsetCursor();
        }
        loading_ = false;
    }
    LoadingGuard(const LoadingGuard&) = delete;
    LoadingGuard& operator=(const LoadingGuard&) = delete;

  private:
    bool& loading_;
    std::vector<QWidget*> widgets_;
};

}  // namespace

TfrmNews::TfrmNews(const ProgramConfig& config, const Services& services, const MessageBox& msgMain,
                   HttpClient& http, const NewsChannelInfo& channel, const NewsLineList& newsList,
                   QWidget* parent)
    : QDialog(parent),
      ui(std::make_unique<Ui::TfrmNews>()),
      config_(config),
      services_(services),
      msgMain_(msgMain),
      client_(NewsClient::For(channel, http)),
      newsList_(newsList) {
    ui->setupUi(this);
    lvwItems = ui->lvwItems;
    prfEditorNews = new HtmlView(services_, ui->splNews);
    prfEditorNews->setObjectName(QStringLiteral("prfEditorNews"));
    prfEditorNews->setMinimumHeight(10);
    ui->splNews->addWidget(prfEditorNews);
    ui->splNews->setStretchFactor(0, 0);
    ui->splNews->setStretchFactor(1, 1);
    ui->splNews->setSizes({kUpperPanelHeight, height() - kUpperPanelHeight});

    QHeaderView* header = lvwItems->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(kTitleColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(kPublishedColumn, QHeaderView::Interactive);
    header->resizeSection(kPublishedColumn, kPublishedWidth);
    lvwItems->setColumnHidden(kIdColumn, true);
    // The selected row stays marked while the page has the focus.
    QPalette palette = lvwItems->palette();
    for (const auto role : {QPalette::Highlight, QPalette::HighlightedText}) {
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    }
    lvwItems->setPalette(palette);

    lvwItems->setChangingHandler([this] { return lvwItemsChanging(); });
    connect(lvwItems, &QTreeWidget::itemSelectionChanged, this,
            Guarded([this] { lvwItemsChange(); }));
    connect(ui->btnExit, &QPushButton::clicked, this, Guarded([this] { btnExitClick(); }));

    resize(682, 411);
    if (const QScreen* screen =
            parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

TfrmNews::~TfrmNews() = default;

void TfrmNews::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous() && !filled_) {
        filled_ = true;
        FormShow();
    }
}

void TfrmNews::FormShow() {
    items_.clear();
    for (const NewsLine& line : newsList_) {
        const NewsItem& news = items_.emplace_back(ParseNewsLine(line));
        auto* item = new QTreeWidgetItem(lvwItems);
        item->setText(kTitleColumn, ToQString(news.title));
        item->setText(kPublishedColumn, ToQString(news.published));
        item->setText(kIdColumn, news.id ? ToQString(news.id->text()) : QString());
        item->setData(kIdColumn, kIndexRole, static_cast<qulonglong>(items_.size() - 1));
    }
    // The window opens on the newest message rather than an empty page; it
    // is fetched once the window's own loop runs, not inside the show.
    if (QTreeWidgetItem* newest = NewestItem()) {
        QMetaObject::invokeMethod(this,
                                  Guarded([this, newest] { lvwItems->setCurrentItem(newest); }),
                                  Qt::QueuedConnection);
    }
}

QTreeWidgetItem* TfrmNews::NewestItem() const {
    QTreeWidgetItem* newest = nullptr;
    std::int64_t newestId = -1;
    for (int row = 0; row < lvwItems->topLevelItemCount(); ++row) {
        const std::optional<NewsId>& id = items_.at(static_cast<std::size_t>(row)).id;
        if (id && id->value() > newestId) {
            newestId = id->value();
            newest = lvwItems->topLevelItem(row);
        }
    }
    return newest;
}

void TfrmNews::lvwItemsChange() {
    const QList<QTreeWidgetItem*> selected = lvwItems->selectedItems();
    if (selected.isEmpty()) {
        requestedItem_ = nullptr;
        return;
    }
    QTreeWidgetItem* item = selected.front();
    if (item == requestedItem_ || FDetailsLoading) {
        return;
    }
    requestedItem_ = item;
    const std::optional<NewsId>& id = items_.at(item->data(kIdColumn, kIndexRole).toULongLong()).id;

    if (!client_) {
        return;
    }
    if (!id) {
        qCWarning(lcNews) << "news details not requested, the id is not a number";
        return;
    }
    LoadingGuard loading(FDetailsLoading, {lvwItems, lvwItems->viewport(), prfEditorNews,
                                           prfEditorNews->viewport(), this});
    const Result<std::string> html = client_->NewsDetails(*id);
    msgMain_.ShowFailure(html);
    if (html.ok()) {
        prfEditorNews->setHtmlSource(*html);
        WriteLastNewsId(config_, *id);
    }
}

bool TfrmNews::lvwItemsChanging() const {
    return !FDetailsLoading;
}

void TfrmNews::btnExitClick() {
    accept();
}

}  // namespace zolt
