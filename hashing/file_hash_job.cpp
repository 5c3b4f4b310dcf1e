#include "hashing/file_hash_job.h"

#include <vector>

#include "app/app_state.h"
#include "hashing/cng_digest.h"
#include "hashing/crc32.h"
#include "hashing/device_path.h"
#include "hashing/file_details.h"
#include "hashing/md5.h"
#include "hashing/report_pane.h"

namespace {

const wchar_t REPORT_SEPARATOR[] =
    L"------------------------------------------------------------\r\n";

// In the order of AlgorithmKind, which is also the order of the report lines.
const wchar_t* const ALGORITHM_LABELS[ALGORITHM_COUNT] = {L"MD5     ", L"SHA-1   ", L"SHA-256 ",
                                                          L"CRC32   "};

void OpenBlock() {
    if (reportStarted) {
        AppendToReport(L"\r\n");
        AppendToReport(REPORT_SEPARATOR);
    } else {
        SetWindowTextW(reportPane, L"");
    }
    reportStarted = true;
}

void ShowProgress(std::int32_t percent) {
    progressPercent = percent;
    RefreshProgressStrip();
}

std::vector<AlgorithmRequest> CheckedAlgorithms() {
    std::vector<AlgorithmRequest> requests;
    for (int kind = Md5; kind <= Crc32; ++kind) {
        if (SendMessageW(algorithmCheckBoxes[kind], BM_GETCHECK, 0, 0) == BST_CHECKED) {
            requests.push_back({ALGORITHM_LABELS[kind], static_cast<AlgorithmKind>(kind)});
        }
    }
    return requests;
}

std::string CngDigestText(AlgorithmKind kind, const std::wstring& path, std::uint64_t totalSize) {
    return CngDigest(path, cngAlgorithmIdentifiers[kind], totalSize).digestText;
}

// MD5 is asked of CNG first for every file; only a provider that cannot be opened hands it to the
// built-in implementation, a later failure gives no line.
std::string Md5DigestText(const std::wstring& path, std::uint64_t totalSize) {
    const CngDigestResult result = CngDigest(path, cngAlgorithmIdentifiers[Md5], totalSize);
    return result.providerOpened ? result.digestText : BuiltinMd5Digest(path, totalSize);
}

std::string DigestText(AlgorithmKind kind, const std::wstring& path, std::uint64_t totalSize) {
    switch (kind) {
        case Md5:
            return Md5DigestText(path, totalSize);
        case Sha1:
        case Sha256:
            return CngDigestText(kind, path, totalSize);
        case Crc32:
            return Crc32Digest(path, totalSize);
    }
    return std::string();
}

std::wstring Widened(const std::string& narrow) {
    const int length = static_cast<int>(narrow.size());
    const int wideLength = MultiByteToWideChar(CP_ACP, 0, narrow.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_ACP, 0, narrow.data(), length, wide.data(), wideLength);
    return wide;
}

void StartRunning() {
    EnableWindow(stopButton, TRUE);
    EnableWindow(browseButton, FALSE);
    jobRunning = true;
    stopRequested = false;
}

void RunAlgorithms(const std::wstring& path, std::uint64_t totalSize) {
    for (const AlgorithmRequest& request : CheckedAlgorithms()) {
        ShowProgress(0);
        if (stopRequested) {
            return;
        }
        const std::string digest = DigestText(request.kind, path, totalSize);
        if (stopRequested) {
            return;
        }
        if (!digest.empty()) {
            AppendToReport(request.label + L": " + Widened(digest) + L"\r\n");
        }
    }
}

void FinishRunning() {
    AppendToReport(stopRequested ? L"\r\n已停止。\r\n" : L"\r\n计算完成。\r\n");
    ShowProgress(100);
    EnableWindow(stopButton, FALSE);
    EnableWindow(browseButton, TRUE);
    EnableWindow(copyButton, TRUE);
    EnableWindow(saveButton, TRUE);
    EnableWindow(clearButton, TRUE);
    jobRunning = false;
}

}  // namespace

void FileHashJob(const std::wstring& path) {
    OpenBlock();
    AppendToReport(L"文件: " + path + L"\r\n");
    // A device is no file: reading it may wait for ever (even the version lookup does, for a
    // serial port), and NUL would read as an empty file. It gets the block of an unreadable path.
    const bool isFile = !OpensAsDevice(path);
    const std::uint64_t totalSize = isFile ? AppendFileDetails(path) : 0;
    AppendToReport(L"\r\n");
    StartRunning();
    if (isFile) {
        RunAlgorithms(path, totalSize);
    }
    FinishRunning();
}
