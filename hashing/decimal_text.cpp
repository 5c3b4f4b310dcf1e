#include "hashing/decimal_text.h"

std::wstring DecimalText(std::uint64_t value, int minimumDigits) {
    std::wstring reversed;
    do {
        reversed.push_back(static_cast<wchar_t>(L'0' + value % 10));
        value /= 10;
    } while (value != 0);
    while (static_cast<int>(reversed.size()) < minimumDigits) {
        reversed.push_back(L'0');
    }
    return std::wstring(reversed.rbegin(), reversed.rend());
}
