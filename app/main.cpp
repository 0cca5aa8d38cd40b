#include "app/Program.h"
#include "toolkit/GuardedApplication.h"
#include "util/ProgramConfig.h"

int main(int argc, char** argv) {
    zolt::GuardedApplication app(argc, argv);
    return zolt::RunProgram(app, zolt::ProgramFolder());
}
