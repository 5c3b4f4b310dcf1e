#include "hashing/crc32.h"

#include "app/app_flags.h"

std::uint32_t Crc32Table[256];

// Entry i is the remainder of the reflected byte i shifted through eight steps of the bit-serial
// division, so one look-up replaces eight steps.
void BuildCrc32Table() {
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit) {
            c = (c & 1) ? (c >> 1) ^ CRC32_POLYNOMIAL : c >> 1;
        }
        Crc32Table[i] = c;
    }
    crcTableReady = true;
}

std::uint32_t Crc32UpdateTable(std::uint32_t running, const unsigned char* bytes,
                               std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        running = (running >> 8) ^ Crc32Table[(running ^ bytes[i]) & 0xFF];
    }
    return running;
}

bool Crc32PathSupported(Crc32Path path) {
    switch (path) {
        case Crc32Path::Table:
            return true;
        case Crc32Path::Pclmul:
            return __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
        case Crc32Path::Vpclmul:
            return Crc32PathSupported(Crc32Path::Pclmul) && __builtin_cpu_supports("avx512f") &&
                   __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("vpclmulqdq");
    }
    return false;
}

Crc32Path FastestCrc32Path() {
    static const Crc32Path fastest = Crc32PathSupported(Crc32Path::Vpclmul)  ? Crc32Path::Vpclmul
                                     : Crc32PathSupported(Crc32Path::Pclmul) ? Crc32Path::Pclmul
                                                                             : Crc32Path::Table;
    return fastest;
}

std::uint32_t Crc32UpdateWith(Crc32Path path, std::uint32_t running, const unsigned char* bytes,
                              std::size_t count) {
    switch (path) {
        case Crc32Path::Pclmul:
            return Crc32UpdatePclmul(running, bytes, count);
        case Crc32Path::Vpclmul:
            return Crc32UpdateVpclmul(running, bytes, count);
        case Crc32Path::Table:
            break;
    }
    return Crc32UpdateTable(running, bytes, count);
}

std::uint32_t Crc32Update(std::uint32_t running, const unsigned char* bytes, std::size_t count) {
    return Crc32UpdateWith(FastestCrc32Path(), running, bytes, count);
}
