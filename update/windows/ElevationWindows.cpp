// Windows: ShellExecuteW with the verb "runas" makes the system ask the user
// (User Account Control) before the program runs as an administrator.
#include <QDir>
#include <QString>

#include <windows.h>

#include <shellapi.h>

#include "update/Elevation.h"
#include "util/WindowsRules.h"

namespace zolt {

bool CanAskForElevation() {
    return true;
}

bool StartElevated(const std::string& program, const std::vector<std::string>& args) {
    const std::wstring file =
        QDir::toNativeSeparators(QString::fromStdString(program)).toStdWString();
    const std::wstring parameters =
        QString::fromStdString(WindowsParameterText(args)).toStdWString();
    const HINSTANCE result =
        ShellExecuteW(nullptr, L"runas", file.c_str(),
                      parameters.empty() ? nullptr : parameters.c_str(), nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace zolt
