#pragma once

#include <string>

// What a saved report holds: the UTF-8 byte-order mark, then the text in UTF-8, nothing added.
// False when the text cannot be converted.
bool ReportFileBytes(const std::wstring& text, std::string& bytes);

// Writes the report into the target in place, so that it stays the same file, and touches the old
// report only once the new one is known to fit: a full disk leaves the old report whole and no
// file of ours behind. A target that Windows refuses to a plain write stays as it is.
bool WriteReportFile(const std::wstring& target, const std::wstring& text);
