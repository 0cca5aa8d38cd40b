// The yardstick of the start-up measurement under Wine: a plain Qt main
// window of the program's size with an HTML view, titled "Bare Window".
#include <QApplication>
#include <QMainWindow>

#include "bench/BareWindowPage.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("Bare Window");
    zolt::bench::MakeBareWindow(window);
    window.show();
    return app.exec();
}
