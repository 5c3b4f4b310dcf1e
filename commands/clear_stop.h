#pragma once

// The Clear command: the pane shows the hint again, the strip 0 %, and Clear, Copy and Save wait
// for the next report. A running job carries on appending after the hint.
void ClearReport();

// The Stop command: the running pass ends after its chunk in hand, and the batch after its file.
void RequestStop();
