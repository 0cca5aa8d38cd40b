#pragma once

#include <memory>
#include <string>

class QLockFile;

namespace zolt {

// The lock that a running program holds on its folder, in a folder of the
// user's own (the runtime folder; on Windows the temporary folder): the updater waits for it before
// it touches the folder, and holds it while it does, so that neither a running program nor a
// program started in the middle ever sees half an update. A lock whose
// holder has died is taken over.
class ProgramLock {
  public:
    explicit ProgramLock(const std::string& programFolder);
    ~ProgramLock();
    ProgramLock(const ProgramLock&) = delete;
    ProgramLock& operator=(const ProgramLock&) = delete;

    // Tries for up to `milliseconds` (0: once); true when held.
    bool TryLock(int milliseconds);
    void Unlock();
    bool held() const;

  private:
    std::unique_ptr<QLockFile> lock_;
};

}  // namespace zolt
