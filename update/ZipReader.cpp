// The zip form of a package (PKWARE's APPNOTE): the central directory names
// the entries, each local header is checked against it, and only stored and
// deflated entries without encryption or Zip64 are read.
#include <zlib.h>

#include <algorithm>
#include <vector>

#include "update/PackageReaders.h"

namespace zolt::package_detail {

namespace {

constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::uint32_t kCentralSignature = 0x02014b50;
constexpr std::uint32_t kLocalSignature = 0x04034b50;
constexpr qint64 kEndSize = 22;
constexpr qint64 kMaxComment = 0xFFFF;
constexpr qint64 kMaxCentralSize = 16 * 1024 * 1024;
constexpr unsigned kHostUnix = 3;

std::uint32_t Le(const std::string& b, size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<size_t>(i)]);
    }
    return v;
}

Result<std::string> ReadAt(QFile& file, qint64 at, qint64 size) {
    if (at < 0 || size < 0 || at > file.size() || size > file.size() - at || !file.seek(at)) {
        return Fail("the package is damaged: an entry lies outside the file");
    }
    const QByteArray bytes = file.read(size);
    if (bytes.size() != size) {
        return Fail("the package could not be read to its end");
    }
    return bytes.toStdString();
}

struct CentralRecord {
    PackageEntry entry;
    std::string rawName;
    unsigned method = 0;
    std::uint32_t crc = 0;
    std::uint64_t packedSize = 0;
    std::uint64_t localOffset = 0;
};

struct CentralDirectory {
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
    std::uint64_t count = 0;
};

Result<CentralDirectory> FindCentralDirectory(QFile& file) {
    const qint64 size = file.size();
    if (size < kEndSize) {
        return Fail("the package is not a zip file");
    }
    const qint64 tailStart = std::max<qint64>(0, size - kEndSize - kMaxComment);
    Result<std::string> tail = ReadAt(file, tailStart, size - tailStart);
    if (!tail.ok()) {
        return Fail(tail.error());
    }
    // The last end record whose comment reaches exactly to the end of the
    // file: anything after it would be read differently by other readers.
    for (qint64 at = static_cast<qint64>(tail->size()) - kEndSize; at >= 0; --at) {
        const size_t p = static_cast<size_t>(at);
        if (Le(*tail, p, 4) != kEndSignature ||
            at + kEndSize + Le(*tail, p + 20, 2) != static_cast<qint64>(tail->size())) {
            continue;
        }
        CentralDirectory found;
        found.count = Le(*tail, p + 10, 2);
        found.size = Le(*tail, p + 12, 4);
        found.offset = Le(*tail, p + 16, 4);
        if (Le(*tail, p + 4, 2) != 0 || Le(*tail, p + 6, 2) != 0 ||
            Le(*tail, p + 8, 2) != found.count) {
            return Fail("the package is a zip file split over several disks");
        }
        if (found.count == 0xFFFF || found.size == 0xFFFFFFFF || found.offset == 0xFFFFFFFF) {
            return Fail("the package is a Zip64 file, which no update package needs");
        }
        if (found.offset + found.size > static_cast<std::uint64_t>(tailStart + at) ||
            found.size > kMaxCentralSize) {
            return Fail("the package's zip directory is damaged");
        }
        return found;
    }
    return Fail("the package is not a zip file (no end record)");
}

Result<CentralRecord> ParseCentralRecord(const std::string& dir, size_t& at) {
    if (at + 46 > dir.size() || Le(dir, at, 4) != kCentralSignature) {
        return Fail("the package's zip directory is damaged");
    }
    CentralRecord r;
    const unsigned madeBy = Le(dir, at + 4, 2);
    const unsigned flags = Le(dir, at + 8, 2);
    r.method = Le(dir, at + 10, 2);
    r.crc = Le(dir, at + 16, 4);
    r.packedSize = Le(dir, at + 20, 4);
    r.entry.size = Le(dir, at + 24, 4);
    const size_t nameLength = Le(dir, at + 28, 2);
    const size_t extraLength = Le(dir, at + 30, 2);
    const size_t commentLength = Le(dir, at + 32, 2);
    const std::uint32_t external = Le(dir, at + 38, 4);
    r.localOffset = Le(dir, at + 42, 4);
    if (at + 46 + nameLength + extraLength + commentLength > dir.size()) {
        return Fail("the package's zip directory is damaged");
    }
    r.rawName = dir.substr(at + 46, nameLength);
    at += 46 + nameLength + extraLength + commentLength;

    std::string name = r.rawName;
    r.entry.directory = !name.empty() && name.back() == '/';
    if (r.entry.directory) {
        name.pop_back();
    }
    r.entry.path = name;
    if ((flags & 1) != 0) {
        return Fail("the package entry \"" + name + "\" is encrypted");
    }
    if (r.method != 0 && r.method != 8) {
        return Fail("the package entry \"" + name + "\" is compressed in a way no update uses");
    }
    if (r.packedSize == 0xFFFFFFFF || r.entry.size == 0xFFFFFFFF) {
        return Fail("the package is a Zip64 file, which no update package needs");
    }
    if ((madeBy >> 8) == kHostUnix) {
        const std::uint32_t mode = external >> 16;
        const std::uint32_t type = mode & 0170000;
        if (type == 0120000) {
            return Fail("the package entry \"" + name + "\" is a link");
        }
        if (type != 0 && type != 0100000 && type != 0040000) {
            return Fail("the package entry \"" + name + "\" is a device or a pipe");
        }
        if (type == 0040000) {
            r.entry.directory = true;
        }
        r.entry.executable = (mode & 0111) != 0;
    }
    if (r.entry.directory && r.entry.size != 0) {
        return Fail("the package entry \"" + name + "\" is a folder with content");
    }
    return r;
}

Status InflateInto(QFile& file, const CentralRecord& r, const EntrySink& sink) {
    z_stream zs{};
    if (r.method == 8 && inflateInit2(&zs, -MAX_WBITS) != Z_OK) {
        return Fail("the package could not be unpacked (zlib)");
    }
    struct End {
        z_stream* zs;
        bool active;
        ~End() {
            if (active) {
                inflateEnd(zs);
            }
        }
    } end{&zs, r.method == 8};

    std::uint64_t packedLeft = r.packedSize;
    std::uint64_t produced = 0;
    uLong crc = crc32(0, nullptr, 0);
    std::string out(64 * 1024, '\0');
    bool streamEnded = r.method == 0;
    auto deliver = [&](const char* data, size_t size) -> Status {
        produced += size;
        if (produced > r.entry.size) {
            return Fail("the package entry \"" + r.entry.path + "\" is larger than it says");
        }
        crc = crc32(crc, reinterpret_cast<const Bytef*>(data), static_cast<uInt>(size));
        return sink ? sink(std::string_view(data, size)) : Status{};
    };
    while (packedLeft > 0) {
        const QByteArray chunk =
            file.read(static_cast<qint64>(std::min<std::uint64_t>(packedLeft, 64 * 1024)));
        if (chunk.isEmpty()) {
            return Fail("the package ends inside the entry \"" + r.entry.path + "\"");
        }
        packedLeft -= static_cast<std::uint64_t>(chunk.size());
        if (r.method == 0) {
            if (Status s = deliver(chunk.constData(), static_cast<size_t>(chunk.size())); !s.ok()) {
                return s;
            }
            continue;
        }
        zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(chunk.constData()));
        zs.avail_in = static_cast<uInt>(chunk.size());
        while (zs.avail_in > 0 && !streamEnded) {
            zs.next_out = reinterpret_cast<Bytef*>(out.data());
            zs.avail_out = static_cast<uInt>(out.size());
            const int rc = inflate(&zs, Z_NO_FLUSH);
            if (rc != Z_OK && rc != Z_STREAM_END) {
                return Fail("the package entry \"" + r.entry.path + "\" is damaged");
            }
            if (Status s = deliver(out.data(), out.size() - zs.avail_out); !s.ok()) {
                return s;
            }
            streamEnded = rc == Z_STREAM_END;
        }
        if (streamEnded && (zs.avail_in > 0 || packedLeft > 0)) {
            return Fail("the package entry \"" + r.entry.path + "\" holds bytes after its end");
        }
    }
    if (!streamEnded || produced != r.entry.size || crc != r.crc) {
        return Fail("the package entry \"" + r.entry.path +
                    "\" does not match its size or check value");
    }
    return {};
}

}  // namespace

Status ReadZip(QFile& file, EntryGate& gate, const EntryVisitor& visit) {
    Result<CentralDirectory> central = FindCentralDirectory(file);
    if (!central.ok()) {
        return Fail(central.error());
    }
    Result<std::string> dir =
        ReadAt(file, static_cast<qint64>(central->offset), static_cast<qint64>(central->size));
    if (!dir.ok()) {
        return Fail(dir.error());
    }
    size_t at = 0;
    for (std::uint64_t n = 0; n < central->count; ++n) {
        Result<CentralRecord> record = ParseCentralRecord(*dir, at);
        if (!record.ok()) {
            return Fail(record.error());
        }
        if (Status admitted = gate.Admit(record->entry); !admitted.ok()) {
            return admitted;
        }
        // The local header must name the same entry: a reader that walks
        // the local headers must not find another package in the file.
        Result<std::string> local = ReadAt(file, static_cast<qint64>(record->localOffset), 30);
        if (!local.ok() || Le(*local, 0, 4) != kLocalSignature) {
            return Fail("the package entry \"" + record->entry.path + "\" is damaged");
        }
        const qint64 nameLength = Le(*local, 26, 2);
        const qint64 extraLength = Le(*local, 28, 2);
        Result<std::string> localName =
            ReadAt(file, static_cast<qint64>(record->localOffset) + 30, nameLength);
        const qint64 dataStart =
            static_cast<qint64>(record->localOffset) + 30 + nameLength + extraLength;
        if (!localName.ok() || *localName != record->rawName ||
            static_cast<std::uint64_t>(dataStart) + record->packedSize > central->offset ||
            !file.seek(dataStart)) {
            return Fail("the package entry \"" + record->entry.path + "\" is damaged");
        }
        Result<EntrySink> sink = visit(record->entry);
        if (!sink.ok()) {
            return Fail(sink.error());
        }
        if (Status read = InflateInto(file, *record, *sink); !read.ok()) {
            return read;
        }
    }
    if (at != dir->size()) {
        return Fail("the package's zip directory is damaged");
    }
    return {};
}

}  // namespace zolt::package_detail
