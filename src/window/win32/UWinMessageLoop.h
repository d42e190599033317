// The thread's message loop and the pump that long work runs between its
// steps. A top-level window may take a message first (keys, the mouse for the
// hint panel): it answers WM_VELMORA_PRETRANSLATE, given the message, with
// TRUE when it has handled it.
#pragma once

#include <functional>

#include "window/win32/UWinApi.h"

namespace velmora {

constexpr UINT WM_VELMORA_PRETRANSLATE = WM_APP + 1;

// Offers a message to its top-level window, then translates and dispatches it.
void HandleMessage(MSG& message);
// Lets every waiting message through, then returns; a quit message is put
// back for the loop that waits for it.
void ProcessMessages();
// Runs until a quit message, calling onIdle whenever the queue has become
// empty; returns the quit message's exit code.
int RunMessageLoop(const std::function<void()>& onIdle);

} // namespace velmora
