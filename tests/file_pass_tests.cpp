#include <gtest/gtest.h>

#include <windows.h>

#include <thread>

#include "app/app_state.h"
#include "app/application.h"
#include "hashing/crc32.h"
#include "hashing/file_pass.h"
#include "hashing/md5.h"
#include "tests/support/system_settings.h"
#include "tests/support/temp_files.h"

namespace {

constexpr std::size_t MIB = 1 << 20;

// Records what a pass hands over, and the progress shown when each chunk arrives.
struct Recorder {
    std::vector<std::size_t> chunkSizes;
    std::vector<std::int32_t> progressOnArrival;

    ChunkConsumer Consumer() {
        return [this](const unsigned char*, std::size_t count) {
            chunkSizes.push_back(count);
            progressOnArrival.push_back(progressPercent);
        };
    }
};

class FilePassTest : public ::testing::Test {
  protected:
    void SetUp() override {
        stopRequested = false;
        progressPercent = 0;
    }
    void TearDown() override { stopRequested = false; }

    std::wstring MakeFile(std::size_t size) {
        const std::wstring path = folder.File(L"data" + std::to_wstring(fileCount++) + L".bin");
        WriteBytes(path, RandomBytes(size, static_cast<std::uint32_t>(size)));
        return path;
    }

    TempDir folder;
    Recorder recorder;
    int fileCount = 0;
};

// A window whose every message asks the running pass to stop, as the Stop button does.
LRESULT CALLBACK StopOnAnyMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) {
        stopRequested = true;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateStopWindow() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = StopOnAnyMessage;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"FilePassTestStopWindow";
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           windowClass.hInstance, nullptr);
}

}  // namespace

TEST_F(FilePassTest, FeedsWholeChunksAndStepsTheProgressAfterEach) {
    const std::wstring path = MakeFile(5 * MIB);
    EXPECT_EQ(FilePass(path, 5 * MIB, recorder.Consumer()), PassOutcome::Completed);
    EXPECT_EQ(recorder.chunkSizes, (std::vector<std::size_t>{2 * MIB, 2 * MIB, 1 * MIB}));
    EXPECT_EQ(recorder.progressOnArrival, (std::vector<std::int32_t>{0, 40, 80}));
    EXPECT_EQ(progressPercent, 100);
}

TEST_F(FilePassTest, ExactMultipleOfTheChunkEndsWithAnEmptyRead) {
    const std::wstring path = MakeFile(2 * MIB);
    EXPECT_EQ(FilePass(path, 2 * MIB, recorder.Consumer()), PassOutcome::Completed);
    EXPECT_EQ(recorder.chunkSizes, (std::vector<std::size_t>{2 * MIB}));
    EXPECT_EQ(progressPercent, 100);
}

TEST_F(FilePassTest, EmptyFileNeverCallsTheConsumerNorTouchesTheProgress) {
    progressPercent = 33;
    EXPECT_EQ(FilePass(MakeFile(0), 0, recorder.Consumer()), PassOutcome::Completed);
    EXPECT_TRUE(recorder.chunkSizes.empty());
    EXPECT_EQ(progressPercent, 33);
}

TEST_F(FilePassTest, UnknownSizeLeavesTheProgressAlone) {
    progressPercent = 17;
    EXPECT_EQ(FilePass(MakeFile(3 * MIB), 0, recorder.Consumer()), PassOutcome::Completed);
    EXPECT_EQ(recorder.chunkSizes.size(), 2u);
    EXPECT_EQ(progressPercent, 17);
}

TEST_F(FilePassTest, FileThatGrewPastItsSizeClampsAt100) {
    EXPECT_EQ(FilePass(MakeFile(5 * MIB), 1 * MIB, recorder.Consumer()), PassOutcome::Completed);
    EXPECT_EQ(recorder.progressOnArrival, (std::vector<std::int32_t>{0, 100, 100}));
    EXPECT_EQ(progressPercent, 100);
}

TEST_F(FilePassTest, StopBeforeThePassReadsNothing) {
    stopRequested = true;
    EXPECT_EQ(FilePass(MakeFile(5 * MIB), 5 * MIB, recorder.Consumer()), PassOutcome::Stopped);
    EXPECT_TRUE(recorder.chunkSizes.empty());
    EXPECT_EQ(progressPercent, 0);
}

TEST_F(FilePassTest, StopDuringAChunkFinishesThatChunkOnly) {
    const ChunkConsumer consumer = [this](const unsigned char* bytes, std::size_t count) {
        recorder.Consumer()(bytes, count);
        stopRequested = true;
    };
    EXPECT_EQ(FilePass(MakeFile(5 * MIB), 5 * MIB, consumer), PassOutcome::Stopped);
    EXPECT_EQ(recorder.chunkSizes.size(), 1u);
    EXPECT_EQ(progressPercent, 40);
}

TEST_F(FilePassTest, StopCommandWaitingInTheQueueTakesEffectAfterTheFirstChunk) {
    HWND window = CreateStopWindow();
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_APP, 0, 0);
    EXPECT_EQ(FilePass(MakeFile(5 * MIB), 5 * MIB, recorder.Consumer()), PassOutcome::Stopped);
    EXPECT_EQ(recorder.chunkSizes.size(), 1u);
    DestroyWindow(window);
}

TEST_F(FilePassTest, UnopenableFilesFailWithoutSideEffects) {
    const std::wstring locked = MakeFile(100);
    HANDLE exclusive =
        CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
    progressPercent = 55;
    for (const std::wstring& path : {folder.File(L"missing.bin"), folder.Path(), locked}) {
        EXPECT_EQ(FilePass(path, 100, recorder.Consumer()), PassOutcome::OpenFailed);
    }
    CloseHandle(exclusive);
    EXPECT_TRUE(recorder.chunkSizes.empty());
    EXPECT_EQ(progressPercent, 55);
    EXPECT_EQ(Crc32Digest(folder.Path(), 0), "");
    EXPECT_EQ(BuiltinMd5Digest(locked + L".none", 0), "");
}

// A pipe whose writer sends a chunk and a bit, waits until they are read, and then drops the
// connection: the reader's next read fails, which no truncation or deletion of a file can show.
TEST_F(FilePassTest, ReadFailurePartWayIsNotTheEndOfTheFile) {
    const std::wstring pipeName =
        L"\\\\.\\pipe\\ordwen-read-failure-" + std::to_wstring(GetCurrentProcessId());
    HANDLE pipe = CreateNamedPipeW(pipeName.c_str(), PIPE_ACCESS_OUTBOUND,
                                   PIPE_TYPE_BYTE | PIPE_WAIT, 1, 65536, 65536, 0, nullptr);
    ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
    std::thread writer([pipe] {
        ConnectNamedPipe(pipe, nullptr);
        const Bytes bytes = RandomBytes(2 * MIB + 1000, 5);
        DWORD written = 0;
        WriteFile(pipe, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        FlushFileBuffers(pipe);
        DisconnectNamedPipe(pipe);
    });
    EXPECT_EQ(FilePass(pipeName, 0, recorder.Consumer()), PassOutcome::ReadFailed);
    writer.join();
    CloseHandle(pipe);
    EXPECT_EQ(recorder.chunkSizes, (std::vector<std::size_t>{2 * MIB}));
}

TEST_F(FilePassTest, LockedRegionMakesTheDigestsEmpty) {
    if (RunningUnderWine()) {
        GTEST_SKIP() << "Wine does not enforce byte-range locks on reads";
    }
    const std::wstring path = MakeFile(5 * MIB);
    HANDLE holder =
        CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    OVERLAPPED region = {};
    region.Offset = 3 * MIB;
    ASSERT_TRUE(LockFileEx(holder, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0,
                           static_cast<DWORD>(MIB), 0, &region));

    EXPECT_EQ(FilePass(path, 5 * MIB, recorder.Consumer()), PassOutcome::ReadFailed);
    EXPECT_EQ(recorder.chunkSizes, (std::vector<std::size_t>{2 * MIB}));
    EXPECT_EQ(Crc32Digest(path, 5 * MIB), "");
    EXPECT_EQ(BuiltinMd5Digest(path, 5 * MIB), "");

    UnlockFileEx(holder, 0, static_cast<DWORD>(MIB), 0, &region);
    CloseHandle(holder);
    EXPECT_EQ(Crc32Digest(path, 5 * MIB).size(), 8u);
}

TEST_F(FilePassTest, QuitRequestMetByThePumpStopsTheWorkAndReachesTheMessageLoop) {
    for (int exitCode : {0, 3}) {
        recorder = Recorder();
        stopRequested = false;
        PostQuitMessage(exitCode);
        EXPECT_EQ(FilePass(MakeFile(5 * MIB), 5 * MIB, recorder.Consumer()), PassOutcome::Stopped);
        EXPECT_EQ(recorder.chunkSizes.size(), 1u);
        EXPECT_TRUE(QuitPending());

        // A job started while the quit is pending must not run on, even after clearing the stop.
        stopRequested = false;
        EXPECT_EQ(FilePass(MakeFile(5 * MIB), 5 * MIB, recorder.Consumer()), PassOutcome::Stopped);
        EXPECT_EQ(recorder.chunkSizes.size(), 1u);

        EXPECT_EQ(RunMessageLoop(), exitCode);
        EXPECT_FALSE(QuitPending());
    }
}
