#include "tests/support/exported_report.h"

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "commands/report_export.h"

std::wstring ClipboardUnicodeBlock() {
    // Windows' own clipboard service may hold the clipboard for a moment after each change.
    if (!OpenClipboardWhenFree(nullptr)) {
        return L"(clipboard busy)";
    }
    std::wstring text;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (data != nullptr) {
        const auto* units = static_cast<const wchar_t*>(GlobalLock(data));
        text.assign(units, GlobalSize(data) / sizeof(wchar_t));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

std::string WholeFileBytes(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    if (!file) {
        return "(cannot open)";
    }
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string SavedFormOf(const std::wstring& text) {
    std::string bytes = "\xEF\xBB\xBF";
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t code = text[i];
        if (code >= 0xD800 && code < 0xDC00 && i + 1 < text.size()) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[++i] - 0xDC00);
        }
        // The leading byte has a one for each byte of the sequence, then a zero, then the highest
        // bits; each of the others carries six.
        const int more = code < 0x80 ? 0 : code < 0x800 ? 1 : code < 0x10000 ? 2 : 3;
        bytes += static_cast<char>((more == 0 ? 0 : 0xFF00 >> (more + 1)) | (code >> (6 * more)));
        for (int index = more - 1; index >= 0; --index) {
            bytes += static_cast<char>(0x80 | ((code >> (6 * index)) & 0x3F));
        }
    }
    return bytes;
}
