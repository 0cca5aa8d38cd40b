// Test helper: stores the ids FIRST, FIRST + 1, ... into "dbsettings.dat" of a
// folder, as fast as it can, and prints one line per finished write, until it
// is killed or has done the given number of writes. Each id is higher than
// the last, so that every write changes the file.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "news/LastNewsId.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s FOLDER FIRST MAXWRITES\n", argv[0]);
        return 2;
    }
    zolt::ProgramConfig config;
    config.baseDir = argv[1];
    const long first = std::strtol(argv[2], nullptr, 10);
    const long maxWrites = std::strtol(argv[3], nullptr, 10);
    for (long i = 0; i < maxWrites; ++i) {
        const std::string id = std::to_string(first + i);
        if (!zolt::WriteLastNewsId(config, zolt::NewsId::Parse(id).value())) {
            std::fprintf(stdout, "failed %s\n", id.c_str());
            return 1;
        }
        std::fprintf(stdout, "wrote %s\n", id.c_str());
        std::fflush(stdout);
    }
    return 0;
}
