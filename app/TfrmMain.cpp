#include "app/TfrmMain.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <optional>

#include "app/TfrmAbout.h"
#include "branding/BannerClick.h"
#include "branding/BrandSettings.h"
#include "branding/ui/LoadBrandSettings.h"
#include "feeds/ui/AdvancedPage.h"
#include "feeds/ui/SimplePage.h"
#include "net/HttpClient.h"
#include "news/LastNewsId.h"
#include "news/NewsNotification.h"
#include "news/UpdateCheck.h"
#include "news/ui/TfrmNews.h"
#include "toolkit/Anchors.h"
#include "toolkit/BalloonHint.h"
#include "toolkit/BannerImage.h"
#include "toolkit/GifBanner.h"
#include "toolkit/GuardedApplication.h"
#include "toolkit/HtmlView.h"
#include "toolkit/LinkLabel.h"
#include "toolkit/Pictures.h"
#include "toolkit/Skin.h"
#include "util/Logging.h"
#include "util/Text.h"
#include "util/UUtils.h"

namespace zolt {

namespace {

constexpr int kDesignWidth = 778;
constexpr int kDesignHeight = 552;

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption,
                        const QRect& place) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setGeometry(place);
    return b;
}

QToolButton* MakeImageButton(QWidget* parent, const char* name, const QString& hint,
                             const char* icon, int left) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setGeometry(left, 1, 41, 34);
    b->setToolTip(hint);
    b->setIcon(IconFromFile(icon, "png"));
    b->setIconSize(QSize(28, 28));
    b->setAutoRaise(true);
    // Kept at the right edge: the distance it has in the design width.
    AnchorRight(b, kDesignWidth - left - 41);
    return b;
}

QWidget* MakePanel(QWidget* parent, const char* name, int height) {
    auto* p = new QWidget(parent);
    p->setObjectName(name);
    p->setAttribute(Qt::WA_StyledBackground, true);
    p->setFixedHeight(height);
    return p;
}

BrandTarget BrandTargetOf(TfrmMain& w) {
    BrandTarget t;
    t.window = &w;
    t.btnMakeMoney = w.btnMakeMoney;
    t.btnNews = w.btnNews;
    t.panBanner = w.panBanner;
    t.imgBanner = w.imgBanner;
    t.gifBanner = w.gifBanner;
    t.panLinks = w.panLinks;
    t.lblLink1URL = w.lblLink1URL;
    t.lblLink2URL = w.lblLink2URL;
    return t;
}

}  // namespace

TfrmMain::TfrmMain(const ProgramConfig& config, const Services& services, MessageAnswer answer,
                   QWidget* parent)
    : QWidget(parent), msgMain(this, std::move(answer)), config_(config), services_(services) {
    setObjectName("frmMain");
    setWindowTitle("RSS Feed Zolt");
    setAttribute(Qt::WA_StyledBackground, true);
    // The brand is read before the controls exist, so that its skin styles
    // each control as it is made instead of restyling them all afterwards.
    brandSetup_ = ReadBrandSetupOrNothing(config_.baseDir, services_);
    if (brandSetup_ && brandSetup_->skinStyleSheet) {
        ApplySkin(*brandSetup_->skinStyleSheet);
    }
    BuildControls();
    ConnectHandlers();
    resize(kDesignWidth, kDesignHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(kDesignWidth / 2, kDesignHeight / 2));
    }
    FormCreate();
}

TfrmMain::~TfrmMain() {
    FormDestroy();
}

void TfrmMain::BuildControls() {
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    pgcPrinc = new QTabWidget(this);
    pgcPrinc->setObjectName("pgcPrinc");
    pgcPrinc->setDocumentMode(true);
    pgcPrinc->tabBar()->hide();
    root->addWidget(pgcPrinc);
    // Without a welcome page to show, the page would only be made to be
    // removed again at the first show.
    if (brandSetup_ && !brandSetup_->record.content.WelcomeHtml.empty()) {
        BuildWelcomePage();
    }
    BuildMainPage();

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(100);
    Timer1->setSingleShot(true);

    IdHTTP1 = new HttpClient(this);
    IdHTTP1->setObjectName("IdHTTP1");

    LMDMessageHint1 = new BalloonHint(this);
    LMDMessageHint1->setObjectName("LMDMessageHint1");
}

void TfrmMain::BuildWelcomePage() {
    // In its tab before it is filled: moving a filled page under a skinned
    // parent restyles every control in it once more.
    stsWelcome = new QWidget;
    stsWelcome->setObjectName("stsWelcome");
    pgcPrinc->addTab(stsWelcome, "stsWelcome");
    auto* layout = new QVBoxLayout(stsWelcome);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    prfWelcome = new HtmlView(services_, stsWelcome);
    prfWelcome->setObjectName("prfWelcome");
    layout->addWidget(prfWelcome, 1);
    bsSkinPanel14 = MakePanel(stsWelcome, "bsSkinPanel14", 39);
    bsSkinButton1 = MakeButton(bsSkinPanel14, "bsSkinButton1",
                               "Thanks, just show me the main application", QRect(256, 8, 265, 20));
    bsSkinButton1->setDefault(true);
    layout->addWidget(bsSkinPanel14);
}

void TfrmMain::BuildMainPage() {
    stsMain = new QWidget;
    stsMain->setObjectName("stsMain");
    pgcPrinc->addTab(stsMain, "stsMain");
    auto* layout = new QVBoxLayout(stsMain);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    bsSkinPanel4 = MakePanel(stsMain, "bsSkinPanel4", 43);
    btnSimple = MakeButton(bsSkinPanel4, "btnSimple", "News Feed Generator", QRect(6, 6, 133, 20));
    btnAdvanced =
        MakeButton(bsSkinPanel4, "btnAdvanced", "Ebay Feed Generator", QRect(142, 6, 133, 20));
    btnMakeMoney = MakeButton(bsSkinPanel4, "btnMakeMoney", "Make Money", QRect(278, 6, 125, 20));
    btnAbout = MakeButton(bsSkinPanel4, "btnAbout", "About", QRect(406, 6, 125, 20));
    btnNews = MakeImageButton(bsSkinPanel4, "btnNews", "Check News", ":/toolkit/news.png", 639);
    bsSkinSpeedButton1 = MakeImageButton(bsSkinPanel4, "bsSkinSpeedButton1", "Check Updates",
                                         ":/toolkit/update.png", 682);
    bsSkinSpeedButton2 =
        MakeImageButton(bsSkinPanel4, "bsSkinSpeedButton2", "Help", ":/toolkit/help.png", 725);
    layout->addWidget(bsSkinPanel4);

    panBanner = MakePanel(stsMain, "panBanner", 65);
    imgBanner = new BannerImage(panBanner);
    imgBanner->setObjectName("imgBanner");
    imgBanner->setGeometry(155, 2, 468, 60);
    gifBanner = new GifBanner(panBanner);
    gifBanner->setObjectName("gifBanner");
    layout->addWidget(panBanner);

    ntbMain = new QStackedWidget(stsMain);
    ntbMain->setObjectName("ntbMain");
    pageSimple = new SimplePage(config_, services_, msgMain, ntbMain);
    pageAdvanced = new AdvancedPage(config_, services_, msgMain, ntbMain);
    ntbMain->addWidget(pageSimple);
    ntbMain->addWidget(pageAdvanced);
    layout->addWidget(ntbMain, 1);

    panLinks = MakePanel(stsMain, "panLinks", 36);
    lblLink1URL = new LinkLabel(services_, panLinks);
    lblLink1URL->setObjectName("lblLink1URL");
    lblLink1URL->move(13, 9);
    lblLink2URL = new LinkLabel(services_, panLinks);
    lblLink2URL->setObjectName("lblLink2URL");
    lblLink2URL->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblLink2URL->move(729, 9);
    for (LinkLabel* link : {lblLink1URL, lblLink2URL}) {
        link->setText("Google");
        link->setUrl("https://www.google.com/");
        link->adjustSize();
    }
    AnchorRight(lblLink2URL, 13);
    layout->addWidget(panLinks);
}

void TfrmMain::ConnectHandlers() {
    auto on = [this](auto* sender, auto signal, void (TfrmMain::*handler)()) {
        connect(sender, signal, this, Guarded([this, handler] { (this->*handler)(); }));
    };
    if (bsSkinButton1 != nullptr) {
        on(bsSkinButton1, &QPushButton::clicked, &TfrmMain::bsSkinButton1Click);
    }
    on(btnSimple, &QPushButton::clicked, &TfrmMain::btnSimpleClick);
    on(btnAdvanced, &QPushButton::clicked, &TfrmMain::btnAdvancedClick);
    on(btnMakeMoney, &QPushButton::clicked, &TfrmMain::btnMakeMoneyClick);
    on(btnAbout, &QPushButton::clicked, &TfrmMain::btnAboutClick);
    on(btnNews, &QToolButton::clicked, &TfrmMain::btnNewsClick);
    on(bsSkinSpeedButton1, &QToolButton::clicked, &TfrmMain::btnUpdateClick);
    on(bsSkinSpeedButton2, &QToolButton::clicked, &TfrmMain::btnHelpClick);
    on(imgBanner, &BannerImage::clicked, &TfrmMain::imgBannerClick);
    on(gifBanner, &GifBanner::clicked, &TfrmMain::imgBannerClick);
    on(Timer1, &QTimer::timeout, &TfrmMain::Timer1Timer);
}

void TfrmMain::FormCreate() {
    // 1. The two banner controls lie on each other.
    gifBanner->setGeometry(imgBanner->geometry());
    // 2. The brand (its skin is already on: see the constructor).
    brand_ = LoadBrandSettings(brandSetup_, BrandTargetOf(*this));
    brandSetup_.reset();
    // 3. Without a welcome page the start-up checks run at once.
    if (brand_.content.WelcomeHtml.empty()) {
        Timer1->start();
    }
    // 4. NewsList starts empty; 5. the news feed generator first.
    ntbMain->setCurrentIndex(0);
    // 6. The eBay sites.
    pageAdvanced->FillEbaySites();
}

void TfrmMain::FormShow() {
    // Every page is laid out once before the first one is shown. Only the
    // layouts' own requests are handled: a full event pass could run the
    // start-up timer, and its network wait, inside the show.
    for (int i = 0; i < pgcPrinc->count(); ++i) {
        pgcPrinc->setCurrentIndex(i);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    }
    if (prfWelcome != nullptr) {
        prfWelcome->setHtmlSource(brand_.content.WelcomeHtml);
    }
    pgcPrinc->tabBar()->hide();
    pgcPrinc->setCurrentIndex(0);
    CenterBanner();
}

void TfrmMain::FormResize() {
    CenterBanner();
}

void TfrmMain::FormClose() {
    // A preview's php ends with the window.
    pageSimple->ClosePreview();
    pageAdvanced->ClosePreview();
    // A request still waiting inside a handler ends now, so the handler
    // returns before the window goes and the process can end.
    IdHTTP1->Disconnect();
    QCoreApplication::processEvents();
}

void TfrmMain::FormDestroy() {
    // Released before the controls that may still show it.
    NewsList.clear();
}

void TfrmMain::CenterBanner() {
    ::zolt::CenterBanner(BrandTargetOf(*this));
}

void TfrmMain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
}

void TfrmMain::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FormResize();
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void TfrmMain::bsSkinButton1Click() {
    pgcPrinc->setCurrentWidget(stsMain);
    if (!brand_.content.WelcomeHtml.empty()) {
        Timer1->start();
    }
}

void TfrmMain::btnSimpleClick() {
    ntbMain->setCurrentIndex(0);
}

void TfrmMain::btnAdvancedClick() {
    ntbMain->setCurrentIndex(1);
}

void TfrmMain::btnMakeMoneyClick() {
    LaunchBrowser(services_, brand_.AffiliateURL);
}

void TfrmMain::btnHelpClick() {
    LaunchBrowser(services_, brand_.AppHelpURL);
}

void TfrmMain::btnAboutClick() {
    TfrmAbout about(brand_, config_, services_, msgMain, this);
    about.exec();
}

void TfrmMain::btnUpdateClick() {
    RunUpdateCheck(false);
}

void TfrmMain::RunUpdateCheck(bool silent) {
    // The check waits for the network and shows boxes: the window may be
    // closed, even destroyed, before it returns.
    QPointer<TfrmMain> self(this);
    const UpdateCheckResult result =
        CheckForUpdate(config_, services_, msgMain.Answer(), *IdHTTP1, brand_, silent);
    if (self && result == UpdateCheckResult::CloseForUpdate) {
        close();
    }
}

void TfrmMain::btnNewsClick() {
    // The request waits for the network: the window may be gone after it.
    QPointer<TfrmMain> self(this);
    NewsList.clear();
    const NewsChannelInfo channel = NewsChannel(brand_);
    Result<NewsLineList> fetched = FetchNewsList(*IdHTTP1, channel);
    // Closed while it waited: the user has gone, no box or news window now.
    if (!self || !isVisible()) {
        return;
    }
    msgMain.ShowFailure(fetched);
    if (fetched.ok()) {
        NewsList = std::move(fetched).value();
    }
    if (NewsList.empty()) {
        msgMain.Show(MessageKind::Information, kNoNewsMessage);
        return;
    }
    {
        TfrmNews news(config_, services_, msgMain, *IdHTTP1, channel, NewsList, this);
        news.exec();
    }
    // What the window left unread decides the envelope's mark.
    if (self) {
        ShowNewsMark(UnreadNewsCount(NewsList, ReadLastNewsId(config_)) > 0);
    }
}

void TfrmMain::ShowNewsMark(bool unread) {
    btnNews->setIcon(IconFromFile(unread ? ":/toolkit/news-new.png" : ":/toolkit/news.png", "png"));
}

void TfrmMain::ShowNewsHint(const std::string& text) {
    // The button's own middle, wherever its panel lies in the window.
    const QPoint middle(btnNews->width() / 2, btnNews->height() / 2);
    LMDMessageHint1->showHint(ToQString(text), btnNews->mapToGlobal(middle));
}

void TfrmMain::imgBannerClick() {
    OpenBannerClickURL(services_, brand_);
}

void TfrmMain::Timer1Timer() {
    Timer1->stop();
    QPointer<TfrmMain> self(this);
    const std::optional<NewsAnnouncement> news =
        StartupNewsHint(config_, *IdHTTP1, NewsChannel(brand_));
    // Closed while the news check waited: no balloon and no update check.
    if (!self || !isVisible()) {
        return;
    }
    if (news) {
        ShowNewsHint(news->hint);
    }
    ShowNewsMark(news.has_value());
    // One line for those who watch a started program (QT_LOGGING_RULES).
    qCInfo(lcNews) << "start-up news check:"
                   << (news ? std::to_string(news->count) + " new" : "nothing new").c_str();
    // Runs whatever the news check found, for every brand.
    RunUpdateCheck(true);
}

}  // namespace zolt
