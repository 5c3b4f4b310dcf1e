#pragma once

#include <string>

// True when the path opens as something other than a file or folder on disk: a device such as
// \\.\NUL, \\.\CON or a serial port, or a pipe. Opening it reads nothing and asks for no access to
// its data. A path that cannot be opened at all is not called a device: it fails later as an
// unreadable file does.
bool OpensAsDevice(const std::wstring& path);
