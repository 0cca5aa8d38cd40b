#pragma once

#include <QDialog>

#include <memory>

#include "branding/BrandSettings.h"
#include "toolkit/MessageBox.h"
#include "util/ProgramConfig.h"
#include "util/Services.h"

namespace Ui {
class TfrmAbout;
}

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace zolt {

// The about box (frmAbout): the brand's product name, the version, the
// copyright line and the about text. Made afresh for every showing.
class TfrmAbout : public QDialog {
    Q_OBJECT
  public:
    // `msgMain` is the main window's message box.
    TfrmAbout(const BrandSettingsRecord& brand, const ProgramConfig& config,
              const Services& services, const MessageBox& msgMain, QWidget* parent = nullptr);
    ~TfrmAbout() override;

    QLabel* lblProductName = nullptr;
    QLabel* lblProductVersion = nullptr;
    QLabel* lblCopyright = nullptr;
    QPlainTextEdit* memAbout = nullptr;
    QPushButton* editAbout = nullptr;
    // Opens the folder of the feedreader.php that users upload; hidden when
    // this installation holds none.
    QLabel* lblFeedreader = nullptr;

  public slots:
    void editAboutClick();
    void lblFeedreaderClick();

  private:
    void FormCreate(const BrandSettingsRecord& brand);

    std::unique_ptr<Ui::TfrmAbout> ui_;
    const Services& services_;
    const MessageBox& msgMain_;
    std::string feedreaderFile_;
};

}  // namespace zolt
