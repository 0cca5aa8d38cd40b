#include <QApplication>
#include <QIcon>

#include "app/ErrorReporting.h"
#include "app/TfrmMain.h"
#include "toolkit/GuardedApplication.h"
#include "toolkit/MessageBox.h"
#include "toolkit/Skin.h"
#include "util/Services.h"

int main(int argc, char** argv) {
    zolt::GuardedApplication app(argc, argv);
    app.setApplicationName("RSS Feed Zolt");
    app.setWindowIcon(QIcon(":/toolkit/app.png"));

    zolt::Services services =
        zolt::MakeSystemServices(QCoreApplication::applicationDirPath().toStdString() + "/");
    services.showMessage = [](zolt::MessageKind kind, const std::string& text) {
        return zolt::ShowMessageBox(QApplication::activeWindow(), kind, text);
    };
    zolt::InstallErrorReporter(services);
    zolt::ApplySkin(zolt::BuiltInSkin());

    int result = 0;
    {
        zolt::TfrmMain window(services);
        window.show();
        result = app.exec();
    }
    zolt::GuardedApplication::SetErrorReporter(nullptr);
    return result;
}
