#pragma once

#include <QWidget>

#include <optional>
#include <string>

#include "branding/BrandSetup.h"
#include "news/NewsClient.h"
#include "toolkit/MessageBox.h"
#include "util/ProgramConfig.h"
#include "util/Services.h"

class QPushButton;
class QStackedWidget;
class QTabWidget;
class QTimer;
class QToolButton;

namespace zolt {

class AdvancedPage;
class BalloonHint;
class BannerImage;
class GifBanner;
class HttpClient;
class HtmlView;
class LinkLabel;
class SimplePage;

// The main window (frmMain): a welcome page and the main page with the
// toolbar, the banner strip, the two generator pages and the link strip.
class TfrmMain : public QWidget {
    Q_OBJECT
  public:
    // `config` and `services` must outlive the window. Without `answer`
    // msgMain shows the skinned boxes; tests answer them in its place.
    TfrmMain(const ProgramConfig& config, const Services& services, MessageAnswer answer = {},
             QWidget* parent = nullptr);
    ~TfrmMain() override;

    const ProgramConfig& config() const { return config_; }
    const Services& services() const { return services_; }
    // The brand as the settings file gave it; empty for an unbranded window.
    const BrandSettingsRecord& brand() const { return brand_; }

    // The controls, by their names.
    QTabWidget* pgcPrinc = nullptr;
    QWidget* stsWelcome = nullptr;  // only made when the brand has a welcome page
    QWidget* stsMain = nullptr;
    HtmlView* prfWelcome = nullptr;
    QWidget* bsSkinPanel14 = nullptr;
    QPushButton* bsSkinButton1 = nullptr;
    QWidget* bsSkinPanel4 = nullptr;
    QPushButton* btnSimple = nullptr;
    QPushButton* btnAdvanced = nullptr;
    QPushButton* btnMakeMoney = nullptr;
    QPushButton* btnAbout = nullptr;
    QToolButton* btnNews = nullptr;
    QToolButton* bsSkinSpeedButton1 = nullptr;
    QToolButton* bsSkinSpeedButton2 = nullptr;
    QWidget* panBanner = nullptr;
    BannerImage* imgBanner = nullptr;
    GifBanner* gifBanner = nullptr;
    QStackedWidget* ntbMain = nullptr;
    SimplePage* pageSimple = nullptr;
    AdvancedPage* pageAdvanced = nullptr;
    QWidget* panLinks = nullptr;
    LinkLabel* lblLink1URL = nullptr;
    LinkLabel* lblLink2URL = nullptr;
    QTimer* Timer1 = nullptr;
    // The one HTTP client of the news requests and the update check.
    HttpClient* IdHTTP1 = nullptr;
    // The balloon that announces a new message at the news button.
    BalloonHint* LMDMessageHint1 = nullptr;
    // The message box of the window, its pages and the news window.
    MessageBox msgMain;

    // The news lines of the last press of the news button, in server order.
    NewsLineList NewsList;

    // Shows `text` in the balloon, pointing at the middle of btnNews.
    void ShowNewsHint(const std::string& text);
    // The envelope of btnNews with its new-news mark while a message is
    // unread, without it once everything is read.
    void ShowNewsMark(bool unread);

    // The live update check; closes the window when the updater was started.
    // Silent from the start-up timer, with messages from the update button.
    void RunUpdateCheck(bool silent);

  public slots:
    void bsSkinButton1Click();
    void btnSimpleClick();
    void btnAdvancedClick();
    void btnMakeMoneyClick();
    void btnAboutClick();
    void btnHelpClick();
    void btnUpdateClick();
    void btnNewsClick();
    // Both banner controls, the picture and the animation.
    void imgBannerClick();
    void Timer1Timer();

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildControls();
    void BuildWelcomePage();
    void BuildMainPage();
    void ConnectHandlers();

    void FormCreate();
    void FormShow();
    void FormResize();
    void FormClose();
    void FormDestroy();
    void CenterBanner();

    const ProgramConfig& config_;
    const Services& services_;
    BrandSettingsRecord brand_;
    bool shown_ = false;
    // The brand as read at construction, until FormCreate applies it.
    std::optional<BrandSetup> brandSetup_;
};

}  // namespace zolt
