#include "commands/file_batch.h"

#include "app/app_state.h"
#include "hashing/extended_path.h"
#include "hashing/file_hash_job.h"
#include "hashing/file_pass.h"

namespace {

bool batchRunning = false;
std::vector<std::wstring> heldDrops;

bool IsHashableEntry(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(ExtendedPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void HashDroppedFile(const std::wstring& path) {
    if (!reportStarted) {
        SetWindowTextW(reportPane, L"");
    }
    FileHashJob(path);
}

// Drops that arrive while these are hashed join the end of the queue and are taken in turn.
void HashHeldDrops() {
    while (!heldDrops.empty() && !QuitPending()) {
        const std::vector<std::wstring> paths = std::move(heldDrops);
        heldDrops.clear();
        if (HashDroppedPaths(paths)) {
            return;
        }
    }
}

}  // namespace

bool HashChosenPaths(const std::vector<std::wstring>& paths) {
    for (const std::wstring& path : paths) {
        // A window closed during the last job leaves nothing to report into.
        if (QuitPending()) {
            return true;
        }
        FileHashJob(path);
        if (stopRequested) {
            return true;
        }
    }
    return false;
}

bool HashDroppedPaths(const std::vector<std::wstring>& paths) {
    for (const std::wstring& path : paths) {
        if (QuitPending()) {
            return true;
        }
        if (!IsHashableEntry(path)) {
            continue;
        }
        HashDroppedFile(path);
        // Only a hashed file can have been stopped: a stop left over by an earlier batch must not
        // end this one at a skipped folder.
        if (stopRequested) {
            return true;
        }
    }
    return false;
}

void RunHoldingDrops(const std::function<bool()>& work) {
    if (batchRunning) {
        work();
        return;
    }
    batchRunning = true;
    if (!work()) {
        HashHeldDrops();
    }
    heldDrops.clear();
    batchRunning = false;
}

void HashOrHoldDroppedPaths(std::vector<std::wstring> paths) {
    if (batchRunning) {
        heldDrops.insert(heldDrops.end(), paths.begin(), paths.end());
        return;
    }
    RunHoldingDrops([&paths] { return HashDroppedPaths(paths); });
}
