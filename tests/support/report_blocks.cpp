#include "tests/support/report_blocks.h"

#include <stdexcept>

#include "hashing/hex.h"
#include "tests/support/exported_report.h"
#include "tests/support/file_setup.h"
#include "tests/support/program_process.h"
#include "tests/support/system_settings.h"

const std::wstring SEPARATOR =
    L"\r\n------------------------------------------------------------\r\n";
const std::wstring DONE = L"\r\n计算完成。\r\n";
const std::wstring STOPPED = L"\r\n已停止。\r\n";

namespace {

std::wstring Details(const std::wstring& path, const Bytes& bytes) {
    return StampedDetails(path, std::to_wstring(bytes.size()) + L" 字节");
}

}  // namespace

Bytes GrownVersionProbe() {
    Bytes probe = BytesOf(WholeFileBytes(TestProgramFolder() + L"version_probe.exe"));
    if (probe.size() >= 200000) {
        throw std::runtime_error("the version probe has outgrown 200,000 bytes");
    }
    probe.resize(200000);
    return probe;
}

std::wstring MakeStampedFile(const std::wstring& path, const Bytes& bytes) {
    WriteBytes(path, bytes);
    SetWriteTimeUtc(path, 2024, 3, 7, 9, 5, 5);
    return path;
}

std::wstring StampLine() {
    return TimeLine(UtcStamp(2024, 3, 7, 9, 5, 5));
}

std::wstring StampedDetails(const std::wstring& path, const std::wstring& size) {
    return L"文件: " + path + L"\r\n大小: " + size + L"\r\n" + StampLine() + L"\r\n";
}

std::wstring Crc32Block(const std::wstring& path, const Bytes& bytes) {
    const std::string crc = Hex32Upper(ZlibCrc32(bytes));
    return Details(path, bytes) + L"CRC32   : " + std::wstring(crc.begin(), crc.end()) + L"\r\n" +
           DONE;
}

std::wstring LaterCrc32Block(const std::wstring& path, const Bytes& bytes) {
    return SEPARATOR + Crc32Block(path, bytes);
}

std::wstring StoppedBlock(const std::wstring& path, const Bytes& bytes) {
    return Details(path, bytes) + STOPPED;
}
