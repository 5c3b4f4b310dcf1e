// Throughput of every digest path over one 1 GiB file, as the program runs them: through the
// chunked file pass, with the page cache warm. Prints the median and minimum MB/s (10^6 bytes per
// second) of several rounds, or one JSON object of the medians with --json.
#include <windows.h>

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "bench/bench_support.h"
#include "app/application.h"
#include "hashing/cng_digest.h"
#include "hashing/crc32.h"
#include "hashing/file_hash_job.h"
#include "hashing/file_pass.h"
#include "hashing/md5.h"

namespace {

constexpr std::uint64_t FILE_SIZE = 1ull << 30;

struct Measurement {
    std::string key;
    std::function<void(const std::wstring& path)> run;
};

struct Figure {
    std::string key;
    double medianMBps;
    double minimumMBps;
};

std::wstring MakeTestFile() {
    wchar_t folder[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, folder);
    const std::wstring path = std::wstring(folder) + L"ordwen-bench.bin";
    WriteRandomFile(path, FILE_SIZE);
    return path;
}

void RequireCompleted(PassOutcome outcome) {
    if (outcome != PassOutcome::Completed) {
        Fail("a pass did not complete");
    }
}

void RequireText(const std::string& text) {
    if (text.empty()) {
        Fail("a digest came back empty");
    }
}

std::vector<Measurement> Measurements() {
    std::vector<Measurement> list;
    list.push_back({"pass", [](const std::wstring& path) {
                        RequireCompleted(
                            FilePass(path, FILE_SIZE, [](const unsigned char*, std::size_t) {}));
                    }});
    list.push_back(
        {"crc32", [](const std::wstring& path) { RequireText(Crc32Digest(path, FILE_SIZE)); }});
    const std::pair<const char*, Crc32Path> paths[] = {{"crc32_table", Crc32Path::Table},
                                                       {"crc32_pclmul", Crc32Path::Pclmul},
                                                       {"crc32_vpclmul", Crc32Path::Vpclmul}};
    for (const auto& [key, path] : paths) {
        if (!Crc32PathSupported(path)) {
            continue;
        }
        list.push_back({key, [path = path](const std::wstring& file) {
                            std::uint32_t running = CRC32_INITIAL;
                            RequireCompleted(FilePass(
                                file, FILE_SIZE, [&](const unsigned char* b, std::size_t n) {
                                    running = Crc32UpdateWith(path, running, b, n);
                                }));
                        }});
    }
    list.push_back({"md5_builtin", [](const std::wstring& path) {
                        RequireText(BuiltinMd5Digest(path, FILE_SIZE));
                    }});
    const std::pair<const char*, const wchar_t*> cngAlgorithms[] = {
        {"cng_md5", L"MD5"}, {"cng_sha1", L"SHA1"}, {"cng_sha256", L"SHA256"}};
    for (const auto& [key, identifier] : cngAlgorithms) {
        list.push_back({key, [identifier = identifier](const std::wstring& path) {
                            RequireText(CngDigest(path, identifier, FILE_SIZE).digestText);
                        }});
    }
    list.push_back({"zlib_crc32", [](const std::wstring& path) {
                        uLong running = crc32(0, nullptr, 0);
                        RequireCompleted(
                            FilePass(path, FILE_SIZE, [&](const unsigned char* b, std::size_t n) {
                                running = crc32(running, b, static_cast<uInt>(n));
                            }));
                    }});
    return list;
}

// The whole job as a user runs it: four passes with the strip repainted and the queue pumped
// after every chunk, in the real main window.
std::vector<Measurement> JobMeasurement() {
    std::vector<Measurement> list;
    list.push_back({"job_all4", [](const std::wstring& path) {
                        FileHashJob(path);
                        if (stopRequested) {
                            Fail("the job was stopped");
                        }
                    }});
    return list;
}

// The speed the job would have if the four passes cost nothing beyond their digests.
Figure SumOfPasses(const std::vector<Figure>& figures) {
    double median = 0;
    double minimum = 0;
    for (const Figure& figure : figures) {
        if (figure.key == "cng_md5" || figure.key == "cng_sha1" || figure.key == "cng_sha256" ||
            figure.key == "crc32") {
            median += 1 / figure.medianMBps;
            minimum += 1 / figure.minimumMBps;
        }
    }
    return {"job_sum_of_passes", 1 / median, 1 / minimum};
}

void OpenMainWindow() {
    appInstance = GetModuleHandleW(nullptr);
    if (CreateMainWindow(SW_SHOWNOACTIVATE) == nullptr) {
        Fail("cannot create the main window");
    }
    for (HWND box : algorithmCheckBoxes) {
        if (box == nullptr || SendMessageW(box, BM_GETCHECK, 0, 0) != BST_CHECKED) {
            Fail("the main window lacks its four checked algorithm boxes");
        }
    }
}

void WarmCache(const std::wstring& path) {
    RequireCompleted(FilePass(path, FILE_SIZE, [](const unsigned char*, std::size_t) {}));
}

double SpeedOf(const Measurement& measurement, const std::wstring& path) {
    const double start = Seconds();
    measurement.run(path);
    return double(FILE_SIZE) / 1e6 / (Seconds() - start);
}

// Rounds go over every measurement in turn, so that a slow spell of the machine touches all
// figures alike and their ratios stay meaningful.
std::vector<Figure> MeasureAll(const std::vector<Measurement>& measurements,
                               const std::wstring& path, int rounds) {
    std::vector<std::vector<double>> speeds(measurements.size());
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t i = 0; i < measurements.size(); ++i) {
            // The host may reclaim idle cache pages within seconds; an untimed pass first keeps
            // every figure one of data in memory.
            WarmCache(path);
            speeds[i].push_back(SpeedOf(measurements[i], path));
        }
    }
    std::vector<Figure> figures;
    for (std::size_t i = 0; i < measurements.size(); ++i) {
        std::sort(speeds[i].begin(), speeds[i].end());
        figures.push_back({measurements[i].key, speeds[i][speeds[i].size() / 2], speeds[i][0]});
    }
    return figures;
}

void PrintTable(const std::vector<Figure>& figures, int rounds) {
    std::printf("%-20s %12s %12s   (MB/s over %d rounds, 1 GiB file)\n", "figure", "median",
                "minimum", rounds);
    for (const Figure& figure : figures) {
        std::printf("%-20s %12.0f %12.0f\n", figure.key.c_str(), figure.medianMBps,
                    figure.minimumMBps);
    }
}

void PrintJson(const std::vector<Figure>& figures) {
    std::printf("{");
    for (std::size_t i = 0; i < figures.size(); ++i) {
        std::printf("%s\"%s\": %.1f", i == 0 ? "" : ", ", figures[i].key.c_str(),
                    figures[i].medianMBps);
    }
    std::printf("}\n");
}

}  // namespace

int main(int argc, char** argv) {
    bool json = false;
    int rounds = 5;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--json") {
            json = true;
        } else if (argument == "--rounds" && i + 1 < argc) {
            rounds = std::max(1, std::atoi(argv[++i]));
        }
    }
    const std::wstring path = MakeTestFile();
    // The digests first, as the engine runs them before any window exists; then the job, whose
    // passes also repaint the strip and pump the window's queue, against the sum of its digests.
    std::vector<Figure> figures = MeasureAll(Measurements(), path, rounds);
    OpenMainWindow();
    const std::vector<Figure> job = MeasureAll(JobMeasurement(), path, rounds);
    figures.insert(figures.end(), job.begin(), job.end());
    figures.push_back(SumOfPasses(figures));
    DeleteFileW(path.c_str());
    if (json) {
        PrintJson(figures);
    } else {
        PrintTable(figures, rounds);
    }
    return 0;
}
