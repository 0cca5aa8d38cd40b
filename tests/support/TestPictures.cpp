#include "tests/support/TestPictures.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

#include <cstdint>
#include <vector>

namespace zolt::test {

namespace {

std::string Encode(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image)) {
        return std::string();
    }
    return bytes.toStdString();
}

void Put16(std::string& out, int v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

// LZW data of an image of `pixels` pixels of colour `index` with a minimum
// code size of 2: a clear code before every two pixels keeps every code 3
// bits wide, so no dictionary bookkeeping is needed.
std::string LzwSolid(int pixels, int index) {
    constexpr int kClear = 4;
    constexpr int kEnd = 5;
    std::vector<int> codes;
    for (int i = 0; i < pixels; ++i) {
        if (i % 2 == 0) {
            codes.push_back(kClear);
        }
        codes.push_back(index);
    }
    codes.push_back(kEnd);
    std::string packed;
    std::uint32_t acc = 0;
    int bits = 0;
    for (int code : codes) {
        acc |= static_cast<std::uint32_t>(code) << bits;
        bits += 3;
        while (bits >= 8) {
            packed += static_cast<char>(acc & 0xFF);
            acc >>= 8;
            bits -= 8;
        }
    }
    if (bits > 0) {
        packed += static_cast<char>(acc & 0xFF);
    }
    std::string blocks;
    blocks += static_cast<char>(2);  // minimum code size
    for (std::size_t at = 0; at < packed.size(); at += 255) {
        const std::string part = packed.substr(at, 255);
        blocks += static_cast<char>(part.size());
        blocks += part;
    }
    blocks += '\0';
    return blocks;
}

}  // namespace

std::string MakeJpeg(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(30, 90, 200));
    return Encode(image, "jpg");
}

std::string MakeIco() {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(QColor(200, 40, 40));
    return Encode(image, "ico");
}

std::string MakeIcoWithUnreadableFirstEntry() {
    const std::string ico = MakeIco();  // one entry: 6 bytes of header, 16 of entry
    const std::string broken = std::string("\x28\0\0\0", 4) + std::string(36, '\xFF');
    std::string out = ico.substr(0, 4) + '\x02' + '\0';
    const auto entry = [](std::string e, std::uint32_t size, std::uint32_t offset) {
        for (int i = 0; i < 4; ++i) {
            e[8 + i] = static_cast<char>((size >> (8 * i)) & 0xFF);
            e[12 + i] = static_cast<char>((offset >> (8 * i)) & 0xFF);
        }
        return e;
    };
    const std::string picture = ico.substr(22);
    out += entry(ico.substr(6, 16), static_cast<std::uint32_t>(broken.size()), 38);
    out += entry(ico.substr(6, 16), static_cast<std::uint32_t>(picture.size()),
                 38 + static_cast<std::uint32_t>(broken.size()));
    return out + broken + picture;
}

std::string MakeGif(int width, int height) {
    std::string gif = "GIF89a";
    Put16(gif, width);
    Put16(gif, height);
    gif += static_cast<char>(0x80);  // global colour table of two entries
    gif += '\0';
    gif += '\0';
    gif += std::string("\xFF\x00\x00\x00\x00\xFF", 6);
    // Loop for ever.
    gif += std::string("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 19);
    for (int frame = 0; frame < 2; ++frame) {
        gif += std::string("\x21\xF9\x04\x00", 4);
        Put16(gif, 10);  // 1/10 s
        gif += std::string("\x00\x00", 2);
        gif += ',';
        Put16(gif, 0);
        Put16(gif, 0);
        Put16(gif, width);
        Put16(gif, height);
        gif += '\0';
        gif += LzwSolid(width * height, frame);
    }
    gif += ';';
    return gif;
}

}  // namespace zolt::test
