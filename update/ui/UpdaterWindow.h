#pragma once

#include <QWidget>

#include <memory>

#include "update/UpdateRun.h"
#include "util/Services.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace zolt {

class HttpClient;

// The updater's one window: what it is doing, the download's progress,
// Cancel, and a sentence when it stops. Once the update has ended, however it
// ended, the program is started again.
class UpdaterWindow : public QWidget {
    Q_OBJECT
  public:
    // `publicKey` is the maker's key of this copy (the brand's comes from its
    // settings file in the folder).
    UpdaterWindow(UpdaterArguments arguments, std::string publicKey, Services services,
                  QWidget* parent = nullptr);
    ~UpdaterWindow() override;

    // Starts the run once the window shows.
    void Start();

    const UpdateOutcome& outcome() const { return outcome_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void btnCancelClick();
    void Finish(const UpdateOutcome& outcome);
    void StartProgramAndQuit();

    UpdaterArguments arguments_;
    std::string publicKey_;
    Services services_;
    std::unique_ptr<HttpClient> http_;
    std::unique_ptr<UpdateRun> run_;
    UpdateOutcome outcome_;
    bool running_ = false;
    bool asksElevation_ = false;

    QLabel* lblStatus;
    QProgressBar* prbDownload;
    QPushButton* btnElevate;
    QPushButton* btnCancel;
};

}  // namespace zolt
