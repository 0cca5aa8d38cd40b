#pragma once

#include <QDialog>

#include <memory>

#include "branding/BrandSettings.h"

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
    explicit TfrmAbout(const BrandSettingsRecord& brand, QWidget* parent = nullptr);
    ~TfrmAbout() override;

    QLabel* lblProductName = nullptr;
    QLabel* lblProductVersion = nullptr;
    QLabel* lblCopyright = nullptr;
    QPlainTextEdit* memAbout = nullptr;
    QPushButton* editAbout = nullptr;

  public slots:
    void editAboutClick();

  private:
    void FormCreate(const BrandSettingsRecord& brand);

    std::unique_ptr<Ui::TfrmAbout> ui_;
};

}  // namespace zolt
