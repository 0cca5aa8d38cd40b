// The yardstick of the start-up measurement under Wine: a plain Qt main
// window of the program's size with an HTML view, titled "Bare Window".
#include <QApplication>
#include <QMainWindow>
#include <QTextBrowser>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("Bare Window");
    window.resize(778, 552);
    auto* view = new QTextBrowser(&window);
    view->setHtml("<html><body><h1>Welcome</h1><p>Thank you for choosing us.</p></body></html>");
    window.setCentralWidget(view);
    window.show();
    return app.exec();
}
