#pragma once

#include <cstdint>

// The part of the process-wide state that carries no window handle, so that the digest cores can
// use it in builds without the Windows headers. Touched only by the user-interface thread.
extern bool reportStarted;
extern bool jobRunning;
extern bool stopRequested;
extern bool crcTableReady;
extern std::int32_t progressPercent;
