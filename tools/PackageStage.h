#pragma once

#include <QByteArray>
#include <QString>

#include <stdexcept>
#include <utility>

namespace zolt {

// Why a package could not be made, in words for the reseller.
struct PackageFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The file tree of a package being made, under a fresh folder. Each call
// throws a PackageFailure when the file system does not do what it asks.
class PackageStage {
  public:
    explicit PackageStage(const QString& root) : root_(root) {}

    QString Path(const QString& relative) const { return root_ + "/" + relative; }

    void Write(const QString& relative, const QByteArray& bytes);
    // Copies a regular file, never what a link points at.
    void Copy(const QString& from, const QString& relative);
    void Link(const QString& target, const QString& relative);

    // Debian's modes whatever the umask: folders and `program` 0755, every
    // other file 0644. Returns the installed size in KiB and the lines of
    // DEBIAN/md5sums.
    std::pair<qint64, QByteArray> Finish(const QString& program);

  private:
    QString root_;
};

}  // namespace zolt
