// Batch cost and responsiveness in the program's own main window, all four algorithms checked:
// files per second over 2,000 small files dropped at once (also per half, since the report grows
// as the batch goes on), and the longest interval between two dispatches of the message queue
// during the four passes over one 1 GiB file, beside the time of one chunk's pass.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "bench/bench_support.h"
#include "app/application.h"
#include "hashing/file_pass.h"
#include "tests/support/drop_files.h"

namespace {

constexpr int FILE_COUNT = 2000;
constexpr std::uint64_t LARGE_FILE_SIZE = 1ull << 30;
// A private message that the probe posts to itself: each dispatch is one pump of the queue.
constexpr UINT PROBE_MESSAGE = WM_APP + 0x2B0;

std::vector<double> pumpTimes;
std::vector<double> passStarts;
WNDPROC programWindowProc = nullptr;

// Every chunk repaints the strip just before the pass pumps the queue: the probe posted from the
// paint is dispatched by that pump, and its time is the pump's. The job's 0 % paint opens a pass.
LRESULT CALLBACK ProbeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == PROBE_MESSAGE) {
        pumpTimes.push_back(Seconds());
        return 0;
    }
    if (message == WM_DRAWITEM && wParam == IDC_PROGRESS && jobRunning) {
        if (progressPercent == 0) {
            passStarts.push_back(Seconds());
        }
        PostMessageW(window, PROBE_MESSAGE, 0, 0);
    }
    return CallWindowProcW(programWindowProc, window, message, wParam, lParam);
}

void PumpFigures(const std::wstring& folder) {
    const std::wstring path = folder + L"\\large.bin";
    WriteRandomFile(path, LARGE_FILE_SIZE);

    programWindowProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(mainWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ProbeWindowProc)));
    const double start = Seconds();
    SendDrop({path});
    const double end = Seconds();
    SetWindowLongPtrW(mainWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(programWindowProc));
    DeleteFileW(path.c_str());

    std::vector<double> gaps;
    for (std::size_t i = 1; i < pumpTimes.size(); ++i) {
        gaps.push_back(pumpTimes[i] - pumpTimes[i - 1]);
    }
    if (gaps.empty()) {
        Fail("the pass was never pumped");
    }
    const double longest = *std::max_element(gaps.begin(), gaps.end());
    std::sort(gaps.begin(), gaps.end());
    const double chunksPerPass = double(LARGE_FILE_SIZE) / double(FILE_CHUNK_SIZE);
    passStarts.push_back(end);
    double slowestChunk = 0;
    for (std::size_t i = 1; i < passStarts.size(); ++i) {
        slowestChunk = std::max(slowestChunk, (passStarts[i] - passStarts[i - 1]) / chunksPerPass);
    }
    std::printf(
        "1 GiB file, 4 passes in %.1f s: %zu pumps; interval between pumps: longest "
        "%.1f ms, median %.1f ms; one chunk of the slowest pass takes %.1f ms on average\n",
        end - start, pumpTimes.size(), longest * 1e3, gaps[gaps.size() / 2] * 1e3,
        slowestChunk * 1e3);
}

void BatchFigures(const std::wstring& folder) {
    std::vector<std::wstring> files;
    for (int number = 1; number <= FILE_COUNT; ++number) {
        const std::string content = "small file number " + std::to_string(number);
        files.push_back(folder + L"\\f" + std::to_wstring(number) + L".txt");
        WriteFileBytes(files.back(), content.data(), content.size());
    }
    const std::size_t half = files.size() / 2;
    const double start = Seconds();
    SendDrop(std::vector<std::wstring>(files.begin(), files.begin() + half));
    const double middle = Seconds();
    SendDrop(std::vector<std::wstring>(files.begin() + half, files.end()));
    const double end = Seconds();
    std::printf(
        "batch of %d small files, 4 algorithms: %.1f files/s (first half %.1f, second "
        "half %.1f); report %d characters\n",
        FILE_COUNT, FILE_COUNT / (end - start), half / (middle - start), half / (end - middle),
        GetWindowTextLengthW(reportPane));
    for (const std::wstring& file : files) {
        DeleteFileW(file.c_str());
    }
}

}  // namespace

int main() {
    appInstance = GetModuleHandleW(nullptr);
    if (CreateMainWindow(SW_SHOWNOACTIVATE) == nullptr) {
        Fail("cannot create the main window");
    }
    const std::wstring folder = BenchFolder(L"ordwen-batch-bench");
    BatchFigures(folder);
    SendMessageW(mainWindow, WM_COMMAND, IDC_CLEAR, 0);
    PumpFigures(folder);
    RemoveDirectoryW(folder.c_str());
    return 0;
}
