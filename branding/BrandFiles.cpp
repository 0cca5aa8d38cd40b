#include "branding/BrandFiles.h"

#include <sys/stat.h>

#include "util/Logging.h"

namespace zolt {

bool BrandFileSizeFits(const std::string& path, const char* what) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || st.st_size <= static_cast<off_t>(kMaxBrandFileSize)) {
        return true;
    }
    qCWarning(lcBranding) << what << "refused unread:" << static_cast<qint64>(st.st_size)
                          << "bytes, more than" << kMaxBrandFileSize;
    return false;
}

}  // namespace zolt
