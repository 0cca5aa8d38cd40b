#include "crypto/FileStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

// Windows opens files in text mode unless told otherwise, and marks a
// handle not inherited with its own flag.
#ifdef _WIN32
constexpr int kFileFlags = O_BINARY | O_NOINHERIT;
#else
constexpr int kFileFlags = O_CLOEXEC;
#endif

namespace zolt {

FileStream::FileStream(const std::string& fileName) {
    fd_ = ::open(fileName.c_str(), O_RDONLY | kFileFlags);
    error_ = fd_ < 0 ? errno : 0;
#ifdef _WIN32
    // Windows refuses to open a folder at all, as access denied.
    struct stat folder {};
    if (fd_ < 0 && ::stat(fileName.c_str(), &folder) == 0 && S_ISDIR(folder.st_mode)) {
        error_ = EISDIR;
    }
#endif
    // A folder opens read-only but cannot be read as a file; refusing it here
    // keeps the caller from touching its destination.
    struct stat st {};
    if (fd_ >= 0 && ::fstat(fd_, &st) == 0 && S_ISDIR(st.st_mode)) {
        error_ = EISDIR;
        ::close(fd_);
        fd_ = -1;
    }
}

FileStream::~FileStream() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

int64_t FileStream::Read(uint8_t* buffer, int64_t count) {
    if (fd_ < 0) {
        return -1;
    }
    int64_t done = 0;
    while (done < count) {
        const ssize_t n = ::read(fd_, buffer + done, static_cast<size_t>(count - done));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            error_ = errno;
            return -1;
        }
        if (n == 0) {
            break;
        }
        done += n;
    }
    return done;
}

int64_t FileStream::Write(const uint8_t*, int64_t) {
    return 0;
}

}  // namespace zolt
