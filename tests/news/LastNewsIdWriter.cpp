// Test helper: stores two ids in turn into "dbsettings.dat" of a folder, as
// fast as it can, and prints one line per finished write, until it is killed
// or has done the given number of writes.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "news/LastNewsId.h"

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s FOLDER ID1 ID2 MAXWRITES\n", argv[0]);
        return 2;
    }
    zolt::Services services;
    services.baseDir = argv[1];
    const std::optional<zolt::NewsId> ids[2] = {zolt::NewsId::Parse(argv[2]),
                                                zolt::NewsId::Parse(argv[3])};
    if (!ids[0] || !ids[1]) {
        std::fprintf(stderr, "the ids must be news ids\n");
        return 2;
    }
    const long maxWrites = std::strtol(argv[4], nullptr, 10);
    for (long i = 0; i < maxWrites; ++i) {
        const std::string& id = ids[i % 2]->text();
        if (!zolt::WriteLastNewsId(services, *ids[i % 2])) {
            std::fprintf(stdout, "failed %s\n", id.c_str());
            return 1;
        }
        std::fprintf(stdout, "wrote %s\n", id.c_str());
        std::fflush(stdout);
    }
    return 0;
}
