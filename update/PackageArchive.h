#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "util/Result.h"

namespace zolt {

// The two forms of an update package: the portable zip of the Windows
// program and the portable .tar.gz of the Linux one, as cpack makes them.
enum class PackageFormat { Zip, TarGz };

// The form that a package's file name announces; nothing for any other name.
std::optional<PackageFormat> PackageFormatOf(std::string_view fileName);

// More than any real package holds: a package beyond them is refused before
// a byte of it is written anywhere.
inline constexpr std::uint64_t kMaxUnpackedSize = std::uint64_t{1} << 30;
inline constexpr std::uint64_t kMaxPackageEntries = 20000;
inline constexpr std::size_t kMaxEntryNameBytes = 1024;

struct PackageEntry {
    std::string path;  // as the package names it, "/" between folders, no "/" at the end
    bool directory = false;
    std::uint64_t size = 0;
    bool executable = false;
};

// Takes an entry's bytes piece by piece; a failure stops the reading.
using EntrySink = std::function<Status(std::string_view piece)>;
// Given each entry before its bytes: the sink for them (an empty function
// skips them), or a failure that stops the reading.
using EntryVisitor = std::function<Result<EntrySink>(const PackageEntry& entry)>;

// Reads the package at `path` entry by entry, in one pass and with bounded
// memory, and refuses it, saying why, at the first entry that is not a plain
// file or folder (a link, a device, a pipe), whose name is absolute, leaves
// the package ("..") or could name another file on some system (a drive, a
// backslash, a colon, a device name such as "NUL", a trailing dot), that
// repeats another name in any letter case, or that takes the package past
// kMaxUnpackedSize or kMaxPackageEntries. An entry whose bytes do not match
// its stored check value or size fails too.
Status ReadPackage(const std::string& path, PackageFormat format, const EntryVisitor& visit);

// Whether a name may stand in a package, with the reason when not.
Status CheckEntryName(std::string_view name);

}  // namespace zolt
