// The engine's worker helper pumps this thread's Qt events while it waits, so that the blocking
// calls a worker sends to a dialog are served. Every window that receives such calls installs it.
#pragma once

namespace keldrin::ui {

// Idempotent; call on the interface thread.
void InstallQtMessagePump();

}  // namespace keldrin::ui
