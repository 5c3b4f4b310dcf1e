#pragma once

// Shared by the program and its tests, so that both name every control the same way.
enum AlgorithmKind { Md5 = 0, Sha1 = 1, Sha256 = 2, Crc32 = 3 };
constexpr int ALGORITHM_COUNT = 4;

constexpr int IDC_BROWSE = 100;
constexpr int IDC_CLEAR = 101;
constexpr int IDC_COPY = 102;
constexpr int IDC_SAVE = 103;
constexpr int IDC_STOP = 104;
constexpr int IDC_MD5 = 105;
constexpr int IDC_SHA1 = 106;
constexpr int IDC_SHA256 = 107;
constexpr int IDC_CRC32 = 108;
constexpr int IDC_REPORT = 109;
constexpr int IDC_PROGRESS = 110;

constexpr unsigned COPY_FEEDBACK_TIMER = 1;
