// The program's start, timed by startup_bench from outside: prints
// "shown <peak resident KiB>" the moment the main window is first exposed,
// then quits.
//   startup_probe FOLDER    FOLDER stands for the folder beside the executable

#include <cstdio>
#include <string>

#include "app/Program.h"
#include "bench/FirstExpose.h"
#include "toolkit/GuardedApplication.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: startup_probe FOLDER\n");
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    zolt::GuardedApplication app(argc, argv);
    zolt::bench::FirstExpose probe;
    app.installEventFilter(&probe);
    return zolt::RunProgram(app, folder);
}
