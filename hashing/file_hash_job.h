#pragma once

#include <string>

#include "app/control_ids.h"

// One algorithm chosen for the running job: the 8-character label that begins its report line.
struct AlgorithmRequest {
    std::wstring label;
    AlgorithmKind kind;
};

// Writes the file's whole block into the report pane, computing one digest per checked algorithm,
// with Browse disabled and Stop enabled while it runs. Returns once the block is complete; a stop
// requested meanwhile ends it early and stays set, so that the caller skips the files left.
void FileHashJob(const std::wstring& path);
