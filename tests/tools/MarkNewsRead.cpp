// Test helper: stores ID as the last news read by the program in FOLDER the
// way its news window does, with the config the program makes for itself
// (the state folder of XDG_STATE_HOME, the package marker in FOLDER).
//   mark_news_read FOLDER ID
#include <cstdio>
#include <optional>

#include "news/LastNewsId.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FOLDER ID\n", argv[0]);
        return 2;
    }
    const std::optional<zolt::NewsId> id = zolt::NewsId::Parse(argv[2]);
    return id && zolt::WriteLastNewsId(zolt::MakeProgramConfig(argv[1]), *id) ? 0 : 1;
}
