#include <QCoreApplication>

#include "app/Program.h"
#include "toolkit/GuardedApplication.h"

int main(int argc, char** argv) {
    zolt::GuardedApplication app(argc, argv);
    return zolt::RunProgram(app, QCoreApplication::applicationDirPath().toStdString() + "/");
}
