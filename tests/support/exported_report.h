#pragma once

#include <string>

// The clipboard's Unicode text block whole, NULs included; empty when it holds none.
std::wstring ClipboardUnicodeBlock();

// Every byte of the file; "(cannot open)" when it cannot be read.
std::string WholeFileBytes(const std::wstring& path);

// What Save writes for the text: the UTF-8 byte-order mark and the text in UTF-8, encoded here
// from the UTF-16 units, surrogate pairs included.
std::string SavedFormOf(const std::wstring& text);
