#pragma once

#include <string>

// The form of the path that file calls accept beyond MAX_PATH: "\\?\" before a drive path,
// "\\?\UNC\" in place of the two backslashes of a network path, with separators made uniform
// and "." and ".." resolved, since the system no longer does that for such paths. Paths short
// enough for the ordinary form, relative paths and paths already in a device form come back
// unchanged. The report keeps showing the path as the user gave it; only file calls take this.
std::wstring ExtendedLengthPath(const std::wstring& path);
