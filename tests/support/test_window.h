#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <ostream>
#include <vector>

#include "app/control_ids.h"

struct StripPaint {
    std::int32_t percent;
    bool jobRunning;
    bool stopRequested;
    bool browseEnabled;
    bool stopEnabled;

    bool operator==(const StripPaint& other) const {
        return percent == other.percent && jobRunning == other.jobRunning &&
               stopRequested == other.stopRequested && browseEnabled == other.browseEnabled &&
               stopEnabled == other.stopEnabled;
    }
};

inline void PrintTo(const StripPaint& paint, std::ostream* out) {
    *out << "{" << paint.percent << "% running " << paint.jobRunning << " stop "
         << paint.stopRequested << " browse " << paint.browseEnabled << " stop button "
         << paint.stopEnabled << "}";
}

// A stand-in for the main window: real buttons, check boxes, a report pane and an owner-drawn
// progress strip, made as the program makes them and stored in the application state, so that the
// engine runs against live controls; commands, timers and drops go to the program's own window
// procedure. One at a time; its destructor puts the handles back to null.
class TestMainWindow {
  public:
    TestMainWindow();
    ~TestMainWindow();
    TestMainWindow(const TestMainWindow&) = delete;
    TestMainWindow& operator=(const TestMainWindow&) = delete;

    void SetChecked(AlgorithmKind kind, bool checked);
    // Leaves only this algorithm's box checked.
    void CheckOnly(AlgorithmKind kind);

    // Posts a stop command, to be handled by the next pump, when the strip is painted at 0 % for
    // the given time (1 for the first algorithm of a job): it then arrives during that pass.
    void StopDuringPass(int passNumber);

    // Posts the message in the same way. The 0 % paints are counted from this call, Clear's
    // included.
    void PostDuringPass(int passNumber, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // Runs the action from a message that the pump of the given pass's first chunk handles, the
    // passes counted as above.
    void RunDuringPass(int passNumber, std::function<void()> action);

    // What the strip showed at every repaint since the window was made, and the state around it.
    const std::vector<StripPaint>& StripPaints() const;
};

bool IsEnabled(HWND window);
