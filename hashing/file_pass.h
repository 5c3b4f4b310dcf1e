#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

constexpr std::size_t FILE_CHUNK_SIZE = 2097152;

enum class PassOutcome {
    OpenFailed,  // nothing read, progress untouched, nothing pumped
    Completed,   // every byte of the file reached the consumer
    Stopped,     // a stop (or the quit request) ended the pass between two chunks
    ReadFailed,  // a read failed part-way, or the file was cut below what had been read: the
                 // bytes fed are not the file's
};

using ChunkConsumer = std::function<void(const unsigned char* bytes, std::size_t count)>;

// Reads the file in FILE_CHUNK_SIZE chunks, hands each to the consumer in file order, and after
// each one updates the progress, repaints the strip and drains the message queue, so that Stop and
// the window keep working during a long file. totalSize only serves as the progress divisor.
PassOutcome FilePass(const std::wstring& path, std::uint64_t totalSize,
                     const ChunkConsumer& consumer);

// Dispatches every message waiting for this thread and returns without waiting.
void PumpPendingMessages();

// A quit request that the pump took off the queue while work was running: it asks the running
// work to stop, and stays pending until the outermost message loop puts it back on the queue.
bool QuitPending();
void RepostPendingQuit();
