#pragma once

#include <QDialog>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "news/NewsClient.h"
#include "news/NewsItem.h"
#include "toolkit/MessageBox.h"
#include "util/ProgramConfig.h"
#include "util/Services.h"

class QTreeWidgetItem;

namespace Ui {
class TfrmNews;
}

namespace zolt {

class HtmlView;
class HttpClient;
class NewsListView;

// The news window: the news lines just fetched, and the page of the one the
// user selects, fetched from the news server. Opening a page stores its id as
// the last news read; the window opens on the newest message.
class TfrmNews : public QDialog {
    Q_OBJECT
  public:
    // Columns of lvwItems; the id travels with the row but is not shown.
    static constexpr int kTitleColumn = 0;
    static constexpr int kPublishedColumn = 1;
    static constexpr int kIdColumn = 2;

    // `msgMain` is the main window's message box.
    TfrmNews(const ProgramConfig& config, const Services& services, const MessageBox& msgMain,
             HttpClient& http, const NewsChannelInfo& channel, const NewsLineList& newsList,
             QWidget* parent = nullptr);
    ~TfrmNews() override;

    bool detailsLoading() const { return FDetailsLoading; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void FormShow();
    // The row of the highest id; nothing when no row carries one.
    QTreeWidgetItem* NewestItem() const;
    void lvwItemsChange();
    bool lvwItemsChanging() const;
    void btnExitClick();

    std::unique_ptr<Ui::TfrmNews> ui;
    NewsListView* lvwItems;
    HtmlView* prfEditorNews;

    const ProgramConfig& config_;
    const Services& services_;
    const MessageBox& msgMain_;
    // Nothing for a copy whose level has no channel to ask.
    const std::optional<NewsClient> client_;
    const NewsLineList& newsList_;
    // The rows' news, in row order; a row carries its index.
    std::vector<NewsItem> items_;

    bool FDetailsLoading = false;
    bool filled_ = false;
    // The row whose page was last asked for: a row is fetched once each time
    // it becomes the selected one, however many changes the list reports.
    QTreeWidgetItem* requestedItem_ = nullptr;
};

}  // namespace zolt
