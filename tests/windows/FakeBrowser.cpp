// A browser for the smoke test: writes the arguments it was started with,
// one a line in UTF-8, to received.txt beside itself.
#include <windows.h>

#include <shellapi.h>

#include <string>

int wmain() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring out(self);
    out = out.substr(0, out.rfind(L'\\') + 1) + L"received.txt";
    std::string text;
    for (int i = 1; i < argc; ++i) {
        char line[4096] = {};
        WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, line, sizeof line, nullptr, nullptr);
        text += std::string(line) + "\n";
    }
    const HANDLE file = CreateFileW(out.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return 0;
}
