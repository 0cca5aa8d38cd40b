#include "update/PackageArchive.h"

#include <QString>

#include <array>

#include "update/PackageReaders.h"
#include "util/Text.h"

namespace zolt {

namespace {

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() &&
           AsciiLower(std::string(text.substr(text.size() - end.size()))) == end;
}

// Names that Windows opens as devices in every folder, with any extension.
bool IsDeviceName(std::string_view component) {
    static constexpr std::array<std::string_view, 6> kPlain = {"con", "prn",    "aux",
                                                               "nul", "conin$", "conout$"};
    std::string stem = AsciiLower(std::string(component.substr(0, component.find('.'))));
    while (!stem.empty() && stem.back() == ' ') {
        stem.pop_back();
    }
    for (const std::string_view name : kPlain) {
        if (stem == name) {
            return true;
        }
    }
    // COM0 to COM9 and LPT0 to LPT9, and the superscript digits Windows
    // takes for them as well.
    if ((stem.rfind("com", 0) == 0 || stem.rfind("lpt", 0) == 0) && stem.size() >= 4) {
        const std::string digit = stem.substr(3);
        return (digit.size() == 1 && digit[0] >= '0' && digit[0] <= '9') || digit == "\xC2\xB9" ||
               digit == "\xC2\xB2" || digit == "\xC2\xB3";
    }
    return false;
}

Status Refuse(std::string_view name, const std::string& why) {
    return Fail("the package entry \"" + std::string(name) + "\" " + why);
}

std::string Folded(const std::string& path) {
    return FromQString(ToQString(path).toCaseFolded());
}

}  // namespace

std::optional<PackageFormat> PackageFormatOf(std::string_view fileName) {
    if (EndsWith(fileName, ".zip")) {
        return PackageFormat::Zip;
    }
    if (EndsWith(fileName, ".tar.gz") || EndsWith(fileName, ".tgz")) {
        return PackageFormat::TarGz;
    }
    return std::nullopt;
}

Status CheckEntryName(std::string_view name) {
    // Shown in messages: never more of it than the limit.
    const std::string_view shown = name.substr(0, kMaxEntryNameBytes);
    if (name.empty() || name.size() > kMaxEntryNameBytes) {
        return Refuse(shown, "has no name or a name longer than " +
                                 std::to_string(kMaxEntryNameBytes) + " bytes");
    }
    if (name.front() == '/') {
        return Refuse(shown, "has an absolute path");
    }
    if (!IsValidUtf8(std::string(name))) {
        return Refuse("(a name that is not UTF-8)", "cannot be named on every system");
    }
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\' || c == ':') {
            return Refuse(shown, "names a drive or a folder the way only Windows reads it");
        }
        if (byte < 0x20 || byte == 0x7F || c == '*' || c == '?' || c == '"' || c == '<' ||
            c == '>' || c == '|') {
            return Refuse(shown, "holds a character that Windows does not take in a file name");
        }
    }
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find('/', start);
        if (end == std::string_view::npos) {
            end = name.size();
        }
        const std::string_view part = name.substr(start, end - start);
        if (part == "..") {
            return Refuse(shown, "leaves the program's folder (\"..\")");
        }
        if (part.empty() || part == ".") {
            return Refuse(shown, "has an empty or \".\" folder in its path");
        }
        if (part.back() == '.' || part.back() == ' ') {
            return Refuse(shown, "ends a name in a dot or a blank, which Windows drops");
        }
        if (IsDeviceName(part)) {
            return Refuse(shown, "is named like a device");
        }
        start = end + 1;
    }
    return {};
}

namespace package_detail {

Status EntryGate::Admit(const PackageEntry& entry) {
    if (Status name = CheckEntryName(entry.path); !name.ok()) {
        return name;
    }
    if (++count_ > kMaxPackageEntries) {
        return Fail("the package holds more than " + std::to_string(kMaxPackageEntries) +
                    " entries");
    }
    if (entry.size > kMaxUnpackedSize - total_) {
        return Fail("the package unpacks to more than " + std::to_string(kMaxUnpackedSize) +
                    " bytes");
    }
    total_ += entry.size;
    const std::string folded = Folded(entry.path);
    if (!names_.insert(folded).second) {
        return Refuse(entry.path, "appears twice (letter case aside)");
    }
    // A file may not stand where a later entry needs a folder, nor a file
    // or folder below a name that is already a file.
    for (size_t slash = folded.find('/'); slash != std::string::npos;
         slash = folded.find('/', slash + 1)) {
        if (files_.count(folded.substr(0, slash)) != 0) {
            return Refuse(entry.path, "lies below a name that is a file");
        }
    }
    if (!entry.directory) {
        const auto below = names_.lower_bound(folded + "/");
        if (below != names_.end() && below->rfind(folded + "/", 0) == 0) {
            return Refuse(entry.path, "is a file where the package has a folder");
        }
        files_.insert(folded);
    }
    return {};
}

}  // namespace package_detail

Status ReadPackage(const std::string& path, PackageFormat format, const EntryVisitor& visit) {
    QFile file(PathToQString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return Fail("the package " + path + " cannot be read: " + FromQString(file.errorString()));
    }
    package_detail::EntryGate gate;
    return format == PackageFormat::Zip ? package_detail::ReadZip(file, gate, visit)
                                        : package_detail::ReadTarGz(file, gate, visit);
}

}  // namespace zolt
