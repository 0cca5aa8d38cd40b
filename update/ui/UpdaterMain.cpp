// The updater program: started by the program with the update site, its
// version and "A"; first it starts a copy of itself from outside the program's
// folder, which then does the update in its window.
#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

#include "update/UpdaterArguments.h"
#include "update/UpdaterCopy.h"
#include "update/ui/UpdaterWindow.h"
#include "util/ProgramConfig.h"
#include "util/Services.h"
#include "util/Text.h"

namespace {

int Refuse(const std::string& sentence) {
    QMessageBox::warning(nullptr, "Update", zolt::ToQString(sentence));
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::vector<std::string> args;
    for (const QString& arg : QCoreApplication::arguments().mid(1)) {
        // The program hands its arguments over as paths are handed over.
        args.push_back(zolt::PathFromQString(arg));
    }
    zolt::Result<zolt::UpdaterArguments> parsed = zolt::ParseUpdaterArguments(args);
    if (!parsed.ok()) {
        return Refuse(parsed.error());
    }
    zolt::UpdaterArguments arguments = *parsed;
    if (arguments.folder.empty()) {
        // Started from the program's folder, whose files it must replace.
        arguments.folder = zolt::ProgramFolder();
        const zolt::Result<std::string> copy = zolt::CopyUpdaterOutside(arguments.folder);
        if (!copy.ok()) {
            return Refuse("The update cannot start: " + copy.error() + ".");
        }
        const zolt::Services services = zolt::MakeSystemServices();
        if (!services.startDetached(*copy, zolt::UpdaterArgumentList(arguments))) {
            return Refuse("The update cannot start: its copy " + *copy + " did not run.");
        }
        return 0;
    }
    zolt::UpdaterWindow window(arguments, zolt::MakeProgramConfig(arguments.folder).updatePublicKey,
                               zolt::MakeSystemServices());
    window.show();
    QTimer::singleShot(0, &window, [&window] { window.Start(); });
    return app.exec();
}
