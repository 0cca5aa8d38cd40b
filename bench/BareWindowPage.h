#pragma once

#include <QMainWindow>
#include <QTextBrowser>

namespace zolt::bench {

// The yardstick of the start-up measurements: `window` at the program's size
// with an HTML view showing a short page, and nothing else.
inline void MakeBareWindow(QMainWindow& window) {
    window.resize(778, 552);
    auto* view = new QTextBrowser(&window);
    view->setHtml("<html><body><h1>Welcome</h1><p>Thank you for choosing us.</p></body></html>");
    window.setCentralWidget(view);
}

}  // namespace zolt::bench
