// Replacing a file on Windows: a new file in the same folder, flushed to
// disk and renamed over the old name with MoveFileExW.
#include "util/SafeSave.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QString>

#include <windows.h>

#include "util/Text.h"

namespace zolt {

namespace {

std::wstring NativeName(const QString& path) {
    return QDir::toNativeSeparators(path).toStdWString();
}

// The system's words for GetLastError(), without the line end it puts there.
std::string LastErrorText() {
    const DWORD code = GetLastError();
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    QString message = length > 0 ? QString::fromWCharArray(text, static_cast<int>(length))
                                 : QStringLiteral("system error %1").arg(code);
    LocalFree(text);
    return FromQString(message.trimmed());
}

// Writes `bytes` to the new file `name` and flushes it to the disk; a file
// that this did not finish is removed again. Fails with the system's reason.
Status WriteNewFile(const std::wstring& name, const std::string& bytes) {
    const HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return Fail(LastErrorText());
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
    const std::string reason = ok ? std::string() : LastErrorText();
    CloseHandle(file);
    if (!ok) {
        DeleteFileW(name.c_str());
        return Fail(reason);
    }
    return {};
}

}  // namespace

Status SaveFileReplacing(const std::string& path, const std::string& bytes) {
    const QFileInfo target(ToQPath(path));
    const std::wstring temporary =
        NativeName(target.absolutePath() + "/." + target.fileName() + "." +
                   QString::number(QRandomGenerator::system()->generate64(), 36));
    if (const Status written = WriteNewFile(temporary, bytes); !written.ok()) {
        return CannotWrite(path, written.error());
    }
    // The rename replaces the name itself: a reparse point of that name (a
    // link or a junction) is replaced, never written through.
    if (MoveFileExW(temporary.c_str(), NativeName(target.absoluteFilePath()).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
        const std::string reason = LastErrorText();
        DeleteFileW(temporary.c_str());
        return CannotWrite(path, reason);
    }
    return {};
}

// Windows keeps no permission bits: the new file takes the folder's
// inherited access rules, as a file the program writes there always does.
Status SaveFileReplacing(const std::string& path, const std::string& bytes, unsigned /*mode*/) {
    return SaveFileReplacing(path, bytes);
}

bool RemoveFileName(const std::string& path) {
    // DeleteFileW removes a link itself, not its target.
    return DeleteFileW(NativeName(ToQPath(path)).c_str()) != 0;
}

}  // namespace zolt
