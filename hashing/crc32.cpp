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

std::uint32_t Crc32Update(std::uint32_t running, const unsigned char* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        running = (running >> 8) ^ Crc32Table[(running ^ bytes[i]) & 0xFF];
    }
    return running;
}
