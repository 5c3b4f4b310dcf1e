#pragma once

#include <functional>
#include <string>
#include <vector>

// One file hash job per path, in order, each path as chosen in the dialog. True when the batch
// ended early: a stop ended a job, or the window was closed meanwhile.
bool HashChosenPaths(const std::vector<std::wstring>& paths);

// As HashChosenPaths for dropped entries: folders and entries whose attributes cannot be read are
// skipped, and the hint leaves the pane before the first file of a report.
bool HashDroppedPaths(const std::vector<std::wstring>& paths);

// Runs the work, which says whether it was stopped, as one batch. Files dropped while it runs
// (from inside its jobs' message pumps or its dialogs) wait, and are hashed in the order dropped
// once it is over, unless it or they were stopped. Work started while a batch runs just runs: the
// outer batch takes the drops.
void RunHoldingDrops(const std::function<bool()>& work);

// Hashes the dropped paths as a batch of their own, or, while a batch runs, after it.
void HashOrHoldDroppedPaths(std::vector<std::wstring> paths);
