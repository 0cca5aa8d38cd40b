// zolt-window-probe [dialog:]TITLE TIMEOUT-MS [X Y | enter]...
// Waits for a visible top-level window titled TITLE (with "dialog:" one that
// has an owner, such as a message box over its window), prints its client
// size, then clicks the client points X,Y or presses Enter, in order, as a
// user would. Exit 0 when the window was found, 1 when the time ran out.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct Search {
    std::wstring title;
    bool dialog = false;
    HWND found = nullptr;
};

BOOL CALLBACK Visit(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    wchar_t title[512] = {};
    GetWindowTextW(window, title, 512);
    const bool owned = GetWindow(window, GW_OWNER) != nullptr;
    if (IsWindowVisible(window) && search->title == title && (!search->dialog || owned)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

void Click(HWND window, int x, int y) {
    POINT point{x, y};
    ClientToScreen(window, &point);
    SetForegroundWindow(window);
    SetCursorPos(point.x, point.y);
    INPUT input[2] = {};
    input[0].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].type = INPUT_MOUSE;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
}

void PressEnter(HWND window) {
    SetForegroundWindow(window);
    INPUT input[2] = {};
    input[0].type = INPUT_KEYBOARD;
    input[0].ki.wVk = VK_RETURN;
    input[1].type = INPUT_KEYBOARD;
    input[1].ki.wVk = VK_RETURN;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: zolt-window-probe [dialog:]TITLE TIMEOUT-MS [X Y | enter]...\n");
        return 2;
    }
    Search search{argv[1]};
    if (search.title.rfind(L"dialog:", 0) == 0) {
        search.title.erase(0, 7);
        search.dialog = true;
    }
    const ULONGLONG deadline = GetTickCount64() + std::wcstoul(argv[2], nullptr, 10);
    while (EnumWindows(Visit, reinterpret_cast<LPARAM>(&search)), search.found == nullptr) {
        if (GetTickCount64() > deadline) {
            std::printf("no window\n");
            return 1;
        }
        Sleep(100);
    }
    RECT client{};
    GetClientRect(search.found, &client);
    std::printf("client %ldx%ld\n", client.right - client.left, client.bottom - client.top);
    std::fflush(stdout);
    for (int i = 3; i < argc; i += 2) {
        // The window needs a moment to take the previous click's page.
        Sleep(1000);
        if (std::wstring(argv[i]) == L"enter") {
            PressEnter(search.found);
            --i;
        } else if (i + 1 < argc) {
            Click(search.found, std::wcstol(argv[i], nullptr, 10),
                  std::wcstol(argv[i + 1], nullptr, 10));
        }
    }
    return 0;
}
