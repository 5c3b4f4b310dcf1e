// Feeds random data in random splits to every CRC-32 path and to the built-in MD5, and random sizes
// to the size formatter, and stops at the first disagreement with zlib, OpenSSL or glibc.
#include <cstdlib>
#include <cstring>

#include "hashing/size_format.h"
#include "tests/native/references.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    if (size < 9) {
        return 0;
    }
    std::uint64_t fileSize;
    std::memcpy(&fileSize, data, 8);
    if (FileSizeText(fileSize) != ReferenceSizeText(fileSize)) {
        std::abort();
    }
    // The next byte seeds the split; the rest is the message.
    unsigned state = data[8] * 2654435761u + 1;
    const unsigned char* message = data + 9;
    std::size_t remaining = size - 9;
    std::vector<std::size_t> pieces;
    while (remaining > 0) {
        state = state * 1103515245u + 12345u;
        const std::size_t piece = std::min<std::size_t>((state >> 8) % 700, remaining);
        pieces.push_back(piece);
        remaining -= piece;
    }
    const std::uint32_t expected = ReferenceCrc32(message, size - 9);
    for (std::uint32_t crc : CrcOfEveryPath(message, pieces)) {
        if (crc != expected) {
            std::abort();
        }
    }
    if (Md5InPieces(message, pieces) != ReferenceMd5(message, size - 9)) {
        std::abort();
    }
    return 0;
}
