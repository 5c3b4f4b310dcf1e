#include "tests/support/report_blocks.h"

#include "hashing/hex.h"
#include "tests/support/file_setup.h"

const std::wstring SEPARATOR =
    L"\r\n------------------------------------------------------------\r\n";
const std::wstring DONE = L"\r\n计算完成。\r\n";
const std::wstring STOPPED = L"\r\n已停止。\r\n";

namespace {

std::wstring Details(const std::wstring& path, const Bytes& bytes) {
    return L"文件: " + path + L"\r\n大小: " + std::to_wstring(bytes.size()) +
           L" 字节\r\n修改时间: 2024/03/07 09:05:05\r\n\r\n";
}

}  // namespace

std::wstring MakeStampedFile(const std::wstring& path, const Bytes& bytes) {
    WriteBytes(path, bytes);
    SetWriteTimeUtc(path, 2024, 3, 7, 9, 5, 5);
    return path;
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
