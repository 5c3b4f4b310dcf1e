#pragma once

#include <string>

// What a saved report holds: the UTF-8 byte-order mark, then the text in UTF-8, nothing added.
// False when the text cannot be converted.
bool ReportFileBytes(const std::wstring& text, std::string& bytes);

// Writes the report beside the target and puts it in the target's place only once every byte is
// on disk, so that a failure at any point leaves the target as it was and no file of ours behind.
bool WriteReportFile(const std::wstring& target, const std::wstring& text);
