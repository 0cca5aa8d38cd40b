#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <string>
#include <utility>

#include "util/Result.h"

namespace zolt {

// The file tree of a package being made, under a fresh folder. The first
// call that the file system does not do is kept in status(), in words for
// the reseller; the calls after it do nothing.
class PackageStage {
  public:
    explicit PackageStage(const QString& root) : root_(root) {}

    QString Path(const QString& relative) const { return root_ + "/" + relative; }

    void Write(const QString& relative, const QByteArray& bytes);
    // Copies a regular file, never what a link points at.
    void Copy(const QString& from, const QString& relative);
    void Link(const QString& target, const QString& relative);

    // Debian's modes whatever the umask: folders and `programs` 0755, every
    // other file 0644. Returns the installed size in KiB and the lines of
    // DEBIAN/md5sums.
    std::pair<qint64, QByteArray> Finish(const QStringList& programs);

    const Status& status() const { return status_; }

  private:
    // Keeps the first refusal.
    void Refuse(const std::string& why);

    QString root_;
    Status status_;
};

}  // namespace zolt
