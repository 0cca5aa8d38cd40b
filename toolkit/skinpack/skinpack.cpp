// Build-time helper: compresses a style sheet into the zlib stream in which
// skins are stored (the built-in skin in the resources, "mainskin.dat").
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "util/Zlib.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: skinpack STYLESHEET OUTPUT\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "skinpack: cannot read " << argv[1] << "\n";
        return 1;
    }
    const std::string sheet((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string packed = zolt::ZlibCompress(sheet);
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(packed.data(), static_cast<std::streamsize>(packed.size()));
    return out ? 0 : 1;
}
