#pragma once

#include <string>

// What the user reads, written out here rather than taken from the program's constants, so that a
// wrong constant fails the tests instead of agreeing with them.
inline const std::wstring HINT_TEXT =
    L"拖拽文件到此处，或点击\"浏览\"按钮选择文件，即可计算 MD5/SHA-1/SHA-256/CRC32 哈希值";
