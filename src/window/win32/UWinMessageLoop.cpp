#include "window/win32/UWinMessageLoop.h"

namespace velmora {

void HandleMessage(MSG& message)
{
    HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (root && SendMessageW(root, WM_VELMORA_PRETRANSLATE, 0, reinterpret_cast<LPARAM>(&message)))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

void ProcessMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        HandleMessage(message);
    }
}

int RunMessageLoop(const std::function<void()>& onIdle)
{
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                return static_cast<int>(message.wParam);
            HandleMessage(message);
        }
        if (onIdle)
            onIdle();
        WaitMessage();
    }
}

} // namespace velmora
