#include "app/app_flags.h"

bool reportStarted = false;
bool jobRunning = false;
bool stopRequested = false;
bool crcTableReady = false;
std::int32_t progressPercent = 0;
