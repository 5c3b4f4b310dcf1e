#pragma once

#include <windows.h>

#include <string>

// What the system decides, not the program, read as the tests run: on Windows and under Wine alike.

bool RunningUnderWine();

// The report's time line for the stamp, in the system's zone.
std::wstring TimeLine(const FILETIME& stamp);

// Whether the system's zone is the one named: Wine takes it from TZ, by its IANA name; Windows
// keeps its own, by its key name.
bool SystemZoneIs(const wchar_t* ianaName, const wchar_t* windowsKeyName);

// Whether the system shows its own dialogs in English.
bool EnglishUserInterface();
