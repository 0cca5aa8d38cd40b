// The yardstick for the program's start: a plain Qt main window of the same
// size with an HTML view showing a short page, and nothing else. Prints
// "shown <peak resident KiB>" at its first expose, like startup_probe.

#include <QApplication>
#include <QMainWindow>

#include "bench/BareWindowPage.h"
#include "bench/FirstExpose.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    zolt::bench::FirstExpose probe;
    app.installEventFilter(&probe);
    QMainWindow window;
    zolt::bench::MakeBareWindow(window);
    window.show();
    return app.exec();
}
