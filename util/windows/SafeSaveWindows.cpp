// Replacing a file on Windows: a new file in the same folder, flushed to
// disk and renamed over the old name with MoveFileExW. A save for the owner
// only (no group or other bits) makes the new file with an access list of
// its own that lets only this account in.
#include "util/SafeSave.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QString>

#include <vector>

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

// A security descriptor whose protected access list grants this process's
// account full access and nobody else anything: no entry is inherited from
// the folder, so an account that may read the folder cannot read the file.
class OwnerOnlySecurity {
  public:
    bool build() {
        HANDLE token = nullptr;
        if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token) == 0) {
            return false;
        }
        DWORD size = 0;
        GetTokenInformation(token, TokenUser, nullptr, 0, &size);
        user_.resize(size);
        const bool haveUser =
            size > 0 && GetTokenInformation(token, TokenUser, user_.data(), size, &size) != 0;
        CloseHandle(token);
        if (!haveUser) {
            return false;
        }
        PSID sid = reinterpret_cast<TOKEN_USER*>(user_.data())->User.Sid;
        acl_.resize(sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(sid));
        auto* acl = reinterpret_cast<ACL*>(acl_.data());
        return InitializeAcl(acl, static_cast<DWORD>(acl_.size()), ACL_REVISION) != 0 &&
               AddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, sid) != 0 &&
               InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) != 0 &&
               SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE) != 0 &&
               SetSecurityDescriptorControl(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED) !=
                   0;
    }
    SECURITY_ATTRIBUTES* attributes() {
        attributes_ = {sizeof(SECURITY_ATTRIBUTES), &descriptor_, FALSE};
        return &attributes_;
    }

  private:
    std::vector<BYTE> user_;
    std::vector<BYTE> acl_;
    SECURITY_DESCRIPTOR descriptor_{};
    SECURITY_ATTRIBUTES attributes_{};
};

// Writes `bytes` to the new file `name`, made with `security` (the folder's
// inherited rules when null), and flushes it to the disk; a file that this
// did not finish is removed again. Fails with the system's reason.
Status WriteNewFile(const std::wstring& name, const std::string& bytes,
                    SECURITY_ATTRIBUTES* security) {
    const HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, security, CREATE_NEW,
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

// `security`: see WriteNewFile.
Status SaveReplacing(const std::string& path, const std::string& bytes,
                     SECURITY_ATTRIBUTES* security) {
    const QFileInfo target(PathToQString(path));
    const std::wstring temporary =
        NativeName(target.absolutePath() + "/." + target.fileName() + "." +
                   QString::number(QRandomGenerator::system()->generate64(), 36));
    if (const Status written = WriteNewFile(temporary, bytes, security); !written.ok()) {
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

}  // namespace

Status SaveFileReplacing(const std::string& path, const std::string& bytes) {
    return SaveReplacing(path, bytes, nullptr);
}

// Windows keeps no permission bits. A mode for the owner alone (0600, the
// plain settings text of a decrypted brand) gets an access list for this
// account alone, set as the file is made, before a byte is in it; any other
// mode takes the folder's inherited access rules, as a file the program
// writes there always does.
Status SaveFileReplacing(const std::string& path, const std::string& bytes, unsigned mode) {
    if ((mode & 077) != 0) {
        return SaveReplacing(path, bytes, nullptr);
    }
    OwnerOnlySecurity security;
    // Without its access list the file would be readable by more than the
    // owner: no save at all then.
    if (!security.build()) {
        return CannotWrite(path, "no access list for this account alone: " + LastErrorText());
    }
    return SaveReplacing(path, bytes, security.attributes());
}

bool RemoveFileName(const std::string& path) {
    // DeleteFileW removes a link itself, not its target.
    return DeleteFileW(NativeName(PathToQString(path)).c_str()) != 0;
}

}  // namespace zolt
