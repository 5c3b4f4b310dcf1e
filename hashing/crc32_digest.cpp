#include "app/app_flags.h"
#include "hashing/crc32.h"
#include "hashing/file_pass.h"
#include "hashing/hex.h"

std::string Crc32Digest(const std::wstring& path, std::uint64_t totalSize) {
    // Before the open, so that the first request of the process builds the table even when its
    // file cannot be read.
    if (!crcTableReady) {
        BuildCrc32Table();
    }
    std::uint32_t running = CRC32_INITIAL;
    const PassOutcome outcome =
        FilePass(path, totalSize, [&running](const unsigned char* bytes, std::size_t count) {
            running = Crc32Update(running, bytes, count);
        });
    if (outcome != PassOutcome::Completed) {
        return std::string();
    }
    return Hex32Upper(running ^ CRC32_INITIAL);
}
