#include "branding/PlainSettingsCopy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zolt {

PlainSettingsCopy::PlainSettingsCopy(std::string path) : path_(std::move(path)) {}

PlainSettingsCopy::~PlainSettingsCopy() {
    ::unlink(path_.c_str());
}

bool PlainSettingsCopy::Create() {
    ::unlink(path_.c_str());
    const int fd =
        ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    // The umask may have taken the owner's own write bit away.
    const bool ok = ::fchmod(fd, S_IRUSR | S_IWUSR) == 0;
    ::close(fd);
    return ok;
}

}  // namespace zolt
