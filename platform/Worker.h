// Runs long engine work on a worker thread while the calling thread keeps its window messages
// flowing through an injected pump (the desktop passes a Qt pump; the command line none).
#pragma once

#include <functional>

namespace keldrin::platform {

using MessagePump = std::function<void()>;

// Replaces the process-wide pump; an empty function makes pumping do nothing.
void SetMessagePump(MessagePump pump);

// Calls the process-wide pump once. Long loops on the interface thread call it to stay responsive.
void PumpMessages();

// Starts work on a new thread and, on the calling thread, pumps messages until it has finished:
// once every 10 ms, or without any wait when spin is set. Returns after the worker has ended.
void RunWorker(const std::function<void()>& work, bool spin = false);

}  // namespace keldrin::platform
