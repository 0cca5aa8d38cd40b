#include "app/Program.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>

#include "app/ErrorReporting.h"
#include "app/TfrmMain.h"
#include "toolkit/GuardedApplication.h"
#include "toolkit/MessageBox.h"
#include "toolkit/Pictures.h"
#include "toolkit/Skin.h"
#include "update/ProgramLock.h"
#include "update/StartupRecovery.h"
#include "util/ProgramConfig.h"
#include "util/Services.h"

namespace zolt {

int RunProgram(GuardedApplication& app, const std::string& baseDir) {
    // Named after its executable, which a brand's package names after the
    // brand: the window class and the desktop entry that docks group the
    // windows under are the brand's, never the maker's.
    QString executable = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    if (executable.endsWith(".exe", Qt::CaseInsensitive)) {
        executable.chop(4);
    }
    app.setApplicationName(executable);
    app.setDesktopFileName(executable);
    app.setWindowIcon(IconFromFile(":/toolkit/app.png", "png"));

    const ProgramConfig config = MakeProgramConfig(baseDir);
    const Services services = MakeSystemServices();
    const MessageAnswer showMessage = [](MessageKind kind, const std::string& text) {
        return ShowMessageBox(QApplication::activeWindow(), kind, text);
    };
    InstallErrorReporter(showMessage);
    ApplySkin(BuiltInSkin());

    // Held while the program runs: the updater waits for it before it
    // replaces the program's files.
    ProgramLock lock(baseDir);
    if (!RecoverUpdateAtStart(config, services, showMessage, lock)) {
        GuardedApplication::SetErrorReporter(nullptr);
        return 0;
    }
    int result = 0;
    {
        TfrmMain window(config, services);
        window.show();
        result = app.exec();
    }
    GuardedApplication::SetErrorReporter(nullptr);
    return result;
}

}  // namespace zolt
