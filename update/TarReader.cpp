// The .tar.gz form of a package: a gzip stream (RFC 1952) of a POSIX tar
// archive with ustar headers, pax extended headers for long names, and GNU
// long-name entries as other tools write them.
#include <zlib.h>

#include <algorithm>
#include <optional>

#include "update/PackageReaders.h"

namespace zolt::package_detail {

namespace {

constexpr size_t kBlock = 512;
// A pax header only ever holds a few names and numbers.
constexpr std::uint64_t kMaxExtendedHeader = 64 * 1024;
// Headers and padding on top of the files' own bytes.
constexpr std::uint64_t kMaxStreamSize =
    kMaxUnpackedSize + (kMaxPackageEntries * 4 + 16) * kBlock + 4 * kMaxExtendedHeader;

// The inflated bytes of a gzip file, read in exact amounts.
class GzipStream {
  public:
    explicit GzipStream(QFile& file) : file_(file) {
        ok_ = inflateInit2(&zs_, 16 + MAX_WBITS) == Z_OK;
    }
    ~GzipStream() { inflateEnd(&zs_); }
    GzipStream(const GzipStream&) = delete;
    GzipStream& operator=(const GzipStream&) = delete;

    // Exactly `size` bytes into `out`; a failure at a damaged stream or
    // its end.
    Status Read(char* out, size_t size) {
        while (size > 0) {
            if (!ok_) {
                return Fail("the package is not a gzip file or is damaged");
            }
            if (zs_.avail_in == 0 && !Refill()) {
                return Fail("the package ends early");
            }
            zs_.next_out = reinterpret_cast<Bytef*>(out);
            zs_.avail_out = static_cast<uInt>(std::min<size_t>(size, 1 << 20));
            const uInt asked = zs_.avail_out;
            const int rc = inflate(&zs_, Z_NO_FLUSH);
            const size_t got = asked - zs_.avail_out;
            out += got;
            size -= got;
            produced_ += got;
            if (produced_ > kMaxStreamSize) {
                return Fail("the package unpacks to more than " + std::to_string(kMaxUnpackedSize) +
                            " bytes");
            }
            if (rc == Z_STREAM_END) {
                // Another gzip member may follow, as gzip itself allows.
                ok_ = inflateReset(&zs_) == Z_OK;
            } else if (rc != Z_OK && !(rc == Z_BUF_ERROR && got > 0)) {
                ok_ = false;
            }
        }
        return {};
    }

  private:
    bool Refill() {
        buffer_ = file_.read(64 * 1024);
        zs_.next_in = reinterpret_cast<Bytef*>(buffer_.data());
        zs_.avail_in = static_cast<uInt>(buffer_.size());
        return !buffer_.isEmpty();
    }

    QFile& file_;
    QByteArray buffer_;
    z_stream zs_{};
    bool ok_ = false;
    std::uint64_t produced_ = 0;
};

std::string Field(const char* block, size_t at, size_t size) {
    const char* begin = block + at;
    return std::string(begin, std::find(begin, begin + size, '\0'));
}

std::optional<std::uint64_t> Number(const char* block, size_t at, size_t size) {
    const auto* field = reinterpret_cast<const unsigned char*>(block + at);
    if ((field[0] & 0x80) != 0) {
        // Base-256, as GNU tar writes sizes above 8 GiB: never needed here.
        return std::nullopt;
    }
    std::uint64_t value = 0;
    size_t i = 0;
    while (i < size && field[i] == ' ') {
        ++i;
    }
    bool digits = false;
    for (; i < size && field[i] >= '0' && field[i] <= '7'; ++i) {
        if (value > (std::uint64_t{1} << 60)) {
            return std::nullopt;
        }
        value = value * 8 + (field[i] - '0');
        digits = true;
    }
    for (; i < size; ++i) {
        if (field[i] != ' ' && field[i] != '\0') {
            return std::nullopt;
        }
    }
    if (!digits) {
        return std::nullopt;
    }
    return value;
}

bool ChecksumMatches(const char* block) {
    const std::optional<std::uint64_t> stored = Number(block, 148, 8);
    std::uint64_t unsignedSum = 0;
    std::int64_t signedSum = 0;
    for (size_t i = 0; i < kBlock; ++i) {
        const bool inField = i >= 148 && i < 156;
        unsignedSum += inField ? ' ' : static_cast<unsigned char>(block[i]);
        signedSum += inField ? ' ' : static_cast<signed char>(block[i]);
    }
    return stored && (*stored == unsignedSum || static_cast<std::int64_t>(*stored) == signedSum);
}

bool AllZero(const char* block) {
    return std::all_of(block, block + kBlock, [](char c) { return c == '\0'; });
}

// The pax records "LENGTH key=value\n" that name the entry's path and size.
struct PaxValues {
    std::optional<std::string> path;
    std::optional<std::uint64_t> size;
};

Result<PaxValues> ParsePax(const std::string& data) {
    PaxValues values;
    size_t at = 0;
    while (at < data.size()) {
        const size_t space = data.find(' ', at);
        size_t length = 0;
        for (size_t i = at; i < space && i < data.size(); ++i) {
            if (data[i] < '0' || data[i] > '9' || length > data.size()) {
                return Fail("the package has a damaged pax header");
            }
            length = length * 10 + static_cast<size_t>(data[i] - '0');
        }
        if (space == std::string::npos || length == 0 || length > data.size() - at ||
            data[at + length - 1] != '\n') {
            return Fail("the package has a damaged pax header");
        }
        const std::string record = data.substr(space + 1, at + length - 1 - (space + 1));
        at += length;
        const size_t equals = record.find('=');
        if (equals == std::string::npos) {
            return Fail("the package has a damaged pax header");
        }
        const std::string key = record.substr(0, equals);
        const std::string value = record.substr(equals + 1);
        if (key == "path") {
            values.path = value;
        } else if (key == "size") {
            if (value.empty() || value.size() > 18 ||
                !std::all_of(value.begin(), value.end(),
                             [](char c) { return c >= '0' && c <= '9'; })) {
                return Fail("the package has a damaged pax header");
            }
            values.size = std::stoull(value);
        }
    }
    return values;
}

Result<std::string> ReadSmall(GzipStream& stream, std::uint64_t size, std::uint64_t limit) {
    if (size > limit) {
        return Fail("the package has an extended header larger than " + std::to_string(limit) +
                    " bytes");
    }
    std::string data(static_cast<size_t>((size + kBlock - 1) / kBlock * kBlock), '\0');
    if (Status read = stream.Read(data.data(), data.size()); !read.ok()) {
        return Fail(read.error());
    }
    data.resize(static_cast<size_t>(size));
    return data;
}

Status Skip(GzipStream& stream, std::uint64_t size, const EntrySink& sink) {
    char buffer[64 * 1024];
    std::uint64_t left = (size + kBlock - 1) / kBlock * kBlock;
    while (left > 0) {
        const size_t chunk = static_cast<size_t>(std::min<std::uint64_t>(left, sizeof buffer));
        if (Status read = stream.Read(buffer, chunk); !read.ok()) {
            return read;
        }
        // The last block's padding is not the entry's.
        const std::uint64_t done = (size + kBlock - 1) / kBlock * kBlock - left;
        const size_t useful =
            static_cast<size_t>(std::min<std::uint64_t>(chunk, size > done ? size - done : 0));
        if (sink && useful > 0) {
            if (Status taken = sink(std::string_view(buffer, useful)); !taken.ok()) {
                return taken;
            }
        }
        left -= chunk;
    }
    return {};
}

std::string TypeRefusal(char type) {
    switch (type) {
        case '1':
        case '2':
            return "is a link";
        case '3':
        case '4':
            return "is a device";
        case '6':
            return "is a pipe";
        default:
            return "is of a kind that no update package holds";
    }
}

}  // namespace

Status ReadTarGz(QFile& file, EntryGate& gate, const EntryVisitor& visit) {
    GzipStream stream(file);
    PaxValues pending;
    char block[kBlock];
    for (;;) {
        if (Status read = stream.Read(block, kBlock); !read.ok()) {
            return read;
        }
        if (AllZero(block)) {
            // The end: a second zero block follows.
            if (Status read = stream.Read(block, kBlock); !read.ok() || !AllZero(block)) {
                return Fail("the package's tar archive is damaged at its end");
            }
            return {};
        }
        if (!ChecksumMatches(block) || Field(block, 257, 5) != "ustar") {
            return Fail("the package's tar archive is damaged (a header does not check)");
        }
        const char type = block[156];
        std::optional<std::uint64_t> size = Number(block, 124, 12);
        const std::optional<std::uint64_t> mode = Number(block, 100, 8);
        if (!size || !mode) {
            return Fail("the package's tar archive is damaged (a size or mode is unreadable)");
        }
        if (type == 'x' || type == 'g' || type == 'L') {
            Result<std::string> data =
                ReadSmall(stream, *size, type == 'L' ? kMaxEntryNameBytes + 1 : kMaxExtendedHeader);
            if (!data.ok()) {
                return Fail(data.error());
            }
            if (type == 'L') {
                pending.path = data->substr(0, data->find('\0'));
            } else if (type == 'x') {
                Result<PaxValues> pax = ParsePax(*data);
                if (!pax.ok()) {
                    return Fail(pax.error());
                }
                pending.path = pax->path ? pax->path : pending.path;
                pending.size = pax->size;
            }
            continue;
        }
        std::string name = Field(block, 0, 100);
        const std::string prefix = Field(block, 345, 155);
        if (!prefix.empty()) {
            name = prefix + "/" + name;
        }
        PackageEntry entry;
        entry.path = pending.path.value_or(name);
        entry.size = pending.size.value_or(*size);
        entry.executable = (*mode & 0111) != 0;
        pending = PaxValues{};
        if (type != '0' && type != '\0' && type != '5') {
            return Fail("the package entry \"" + entry.path.substr(0, kMaxEntryNameBytes) + "\" " +
                        TypeRefusal(type));
        }
        entry.directory = type == '5' || (!entry.path.empty() && entry.path.back() == '/');
        while (!entry.path.empty() && entry.path.back() == '/' && entry.directory) {
            entry.path.pop_back();
        }
        if (entry.directory && entry.size != 0) {
            return Fail("the package entry \"" + entry.path + "\" is a folder with content");
        }
        if (Status admitted = gate.Admit(entry); !admitted.ok()) {
            return admitted;
        }
        Result<EntrySink> sink = visit(entry);
        if (!sink.ok()) {
            return Fail(sink.error());
        }
        if (Status read = Skip(stream, entry.size, *sink); !read.ok()) {
            return read;
        }
    }
}

}  // namespace zolt::package_detail
