#include "tests/native/references.h"

#include <openssl/evp.h>
#include <zlib.h>

#include <cstdio>

#include "app/app_flags.h"
#include "hashing/crc32.h"
#include "hashing/hex.h"
#include "hashing/md5.h"

std::uint32_t ReferenceCrc32(const unsigned char* bytes, std::size_t count) {
    return static_cast<std::uint32_t>(crc32_z(crc32(0, nullptr, 0), bytes, count));
}

std::string ReferenceMd5(const unsigned char* bytes, std::size_t count) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_Digest(bytes, count, digest, &length, EVP_md5(), nullptr);
    return HexUpper(digest, length);
}

std::wstring ReferenceSizeText(std::uint64_t size) {
    char figure[64];
    const wchar_t* unit = L"";
    if (size < (1ull << 10)) {
        std::snprintf(figure, sizeof figure, "%llu", static_cast<unsigned long long>(size));
        return std::wstring(figure, figure + std::string(figure).size()) + L" 字节";
    }
    if (size < (1ull << 20)) {
        std::snprintf(figure, sizeof figure, "%.1f", double(size) / 1024.0);
        unit = L" KB";
    } else if (size < (1ull << 30)) {
        std::snprintf(figure, sizeof figure, "%.1f", double(size) / 1048576.0);
        unit = L" MB";
    } else {
        std::snprintf(figure, sizeof figure, "%.2f", double(size) / 1073741824.0);
        unit = L" GB";
    }
    const std::string text = figure;
    const std::string count = std::to_string(size);
    return std::wstring(text.begin(), text.end()) + unit + L" (" +
           std::wstring(count.begin(), count.end()) + L" 字节)";
}

std::vector<std::uint32_t> CrcOfEveryPath(const unsigned char* bytes,
                                          const std::vector<std::size_t>& pieces) {
    if (!crcTableReady) {
        BuildCrc32Table();
    }
    std::vector<std::uint32_t> results;
    for (Crc32Path path : {Crc32Path::Table, Crc32Path::Pclmul, Crc32Path::Vpclmul}) {
        if (!Crc32PathSupported(path)) {
            continue;
        }
        std::uint32_t running = CRC32_INITIAL;
        std::size_t offset = 0;
        for (std::size_t piece : pieces) {
            running = Crc32UpdateWith(path, running, bytes + offset, piece);
            offset += piece;
        }
        results.push_back(running ^ CRC32_INITIAL);
    }
    return results;
}

std::string Md5InPieces(const unsigned char* bytes, const std::vector<std::size_t>& pieces) {
    Md5Context context;
    Md5Init(context);
    std::size_t offset = 0;
    for (std::size_t piece : pieces) {
        Md5Update(context, bytes + offset, piece);
        offset += piece;
    }
    return Md5Final(context);
}
