#pragma once

#include <QFile>

#include <cstdint>
#include <set>
#include <string>

#include "update/PackageArchive.h"

namespace zolt::package_detail {

// The checks that every package form shares, applied to each entry once its
// header has been read: the name, repeated names in any letter case, a file
// that stands where another entry needs a folder, and the package's totals.
class EntryGate {
  public:
    Status Admit(const PackageEntry& entry);

  private:
    std::set<std::string> names_;  // case-folded
    std::set<std::string> files_;  // case-folded
    std::uint64_t total_ = 0;
    std::uint64_t count_ = 0;
};

Status ReadZip(QFile& file, EntryGate& gate, const EntryVisitor& visit);
Status ReadTarGz(QFile& file, EntryGate& gate, const EntryVisitor& visit);

}  // namespace zolt::package_detail
