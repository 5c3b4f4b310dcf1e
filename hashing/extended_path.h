#pragma once

#include <string>

// The form of a full path that names exactly the file it names: "\\?\" before a drive path,
// "\\?\UNC\" in place of the two backslashes of a network path, with separators made uniform
// and "." and ".." resolved, since the system no longer does that for such paths. At any length the
// ordinary form reads a last name such as nul.txt, aux.c, com1 or con as a device and drops a
// trailing dot or space from it, so that "report." names the file "report" beside it; names like
// these come with files from other systems. Relative paths and paths already in a device form come
// back unchanged. The report keeps showing the path as the user gave it; only file calls take this.
std::wstring ExtendedPath(const std::wstring& path);

// For a name the user typed, where the system's own rules for names are what the user expects: the
// path as given while the ordinary form takes it, its extended form beyond MAX_PATH.
std::wstring ExtendedLengthPath(const std::wstring& path);
