#pragma once

#include <string>

// Inserts the text at the very end of the report pane, whatever the user has selected, and
// scrolls the end into view.
void AppendToReport(const std::wstring& text);

// Everything the report pane holds, CR LF pairs included.
std::wstring ReadReportText();
