// Replacing a file on Windows: a new file in the same folder, flushed to
// disk and renamed over the old name with MoveFileExW.
#include "util/SafeSave.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QString>

#include <windows.h>

namespace zolt {

namespace {

std::wstring NativeName(const QString& path) {
    return QDir::toNativeSeparators(path).toStdWString();
}

// Writes `bytes` to the new file `name` and flushes it to the disk; a file
// that this did not finish is removed again.
bool WriteNewFile(const std::wstring& name, const std::string& bytes) {
    const HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool ok = true;
    for (std::size_t done = 0; ok && done < bytes.size();) {
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        ok =
            WriteFile(file, bytes.data() + done, chunk, &written, nullptr) != 0 && written == chunk;
        done += written;
    }
    ok = ok && FlushFileBuffers(file) != 0;
    CloseHandle(file);
    if (!ok) {
        DeleteFileW(name.c_str());
    }
    return ok;
}

}  // namespace

bool SaveFileReplacing(const std::string& path, const std::string& bytes) {
    const QFileInfo target(QString::fromStdString(path));
    const std::wstring temporary =
        NativeName(target.absolutePath() + "/." + target.fileName() + "." +
                   QString::number(QRandomGenerator::system()->generate64(), 36));
    if (!WriteNewFile(temporary, bytes)) {
        return false;
    }
    // The rename replaces the name itself: a reparse point of that name (a
    // link or a junction) is replaced, never written through.
    if (MoveFileExW(temporary.c_str(), NativeName(target.absoluteFilePath()).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
        DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}

// Windows keeps no permission bits: the new file takes the folder's
// inherited access rules, as a file the program writes there always does.
bool SaveFileReplacing(const std::string& path, const std::string& bytes, unsigned /*mode*/) {
    return SaveFileReplacing(path, bytes);
}

bool RemoveFileName(const std::string& path) {
    // DeleteFileW removes a link itself, not its target.
    return DeleteFileW(NativeName(QString::fromStdString(path)).c_str()) != 0;
}

}  // namespace zolt
