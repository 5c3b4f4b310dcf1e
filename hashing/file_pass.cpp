#include "hashing/file_pass.h"

#include <windows.h>

#include <io.h>

#include <cstdio>
#include <memory>
#include <new>

#include "app/app_state.h"
#include "hashing/extended_path.h"

namespace {

bool quitPending = false;
WPARAM quitExitCode = 0;

struct FileCloser {
    void operator()(FILE* stream) const { std::fclose(stream); }
};
using FileStream = std::unique_ptr<FILE, FileCloser>;

bool ShouldStop() {
    return stopRequested || quitPending;
}

void ShowProgress(std::uint64_t bytesSoFar, std::uint64_t totalSize) {
    if (totalSize == 0) {
        return;
    }
    const std::uint64_t percent = bytesSoFar * 100 / totalSize;
    progressPercent = percent > 100 ? 100 : static_cast<std::int32_t>(percent);
    RefreshProgressStrip();
}

// A file cut, since the pass began, below what the pass has read: the bytes fed are no longer the
// file's, and a digest of them would describe no content the file ever had as a whole.
bool CutBelow(FILE* stream, std::uint64_t bytesSoFar) {
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    LARGE_INTEGER size;
    return GetFileSizeEx(handle, &size) && static_cast<std::uint64_t>(size.QuadPart) < bytesSoFar;
}

}  // namespace

PassOutcome FilePass(const std::wstring& path, std::uint64_t totalSize,
                     const ChunkConsumer& consumer) {
    FileStream stream(_wfopen(ExtendedPath(path).c_str(), L"rb"));
    if (!stream) {
        return PassOutcome::OpenFailed;
    }
    std::unique_ptr<unsigned char[]> chunk(new (std::nothrow) unsigned char[FILE_CHUNK_SIZE]());
    if (!chunk) {
        return PassOutcome::OpenFailed;
    }
    // The stream's own buffer would only add a copy: every read asks for a whole chunk.
    std::setvbuf(stream.get(), nullptr, _IONBF, 0);

    std::uint64_t bytesSoFar = 0;
    while (!ShouldStop()) {
        const std::size_t count = std::fread(chunk.get(), 1, FILE_CHUNK_SIZE, stream.get());
        if (std::ferror(stream.get())) {
            return PassOutcome::ReadFailed;
        }
        if (count == 0) {
            return CutBelow(stream.get(), bytesSoFar) ? PassOutcome::ReadFailed
                                                      : PassOutcome::Completed;
        }
        consumer(chunk.get(), count);
        bytesSoFar += count;
        ShowProgress(bytesSoFar, totalSize);
        PumpPendingMessages();
    }
    return PassOutcome::Stopped;
}

void PumpPendingMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Taking WM_QUIT here would leave the outer loop waiting forever for a window that is
            // gone; keep it until that loop can have it back, and have the running work unwind.
            quitPending = true;
            stopRequested = true;
            quitExitCode = message.wParam;
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool QuitPending() {
    return quitPending;
}

void RepostPendingQuit() {
    if (!quitPending) {
        return;
    }
    quitPending = false;
    PostQuitMessage(static_cast<int>(quitExitCode));
}
