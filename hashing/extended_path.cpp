#include "hashing/extended_path.h"

#include <vector>

namespace {

// Longest path, terminator excluded, that every file call takes in the ordinary form.
constexpr std::size_t ORDINARY_PATH_LIMIT = 259;

bool IsSeparator(wchar_t character) {
    return character == L'\\' || character == L'/';
}

bool IsDriveLetter(wchar_t character) {
    return (character >= L'A' && character <= L'Z') || (character >= L'a' && character <= L'z');
}

bool IsDriveAbsolute(const std::wstring& path) {
    return path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == L':' && IsSeparator(path[2]);
}

bool IsNetworkPath(const std::wstring& path) {
    return path.size() >= 3 && IsSeparator(path[0]) && IsSeparator(path[1]) &&
           !IsSeparator(path[2]) && path[2] != L'?' && path[2] != L'.';
}

std::vector<std::wstring> Components(const std::wstring& rest) {
    std::vector<std::wstring> components;
    std::size_t start = 0;
    while (start <= rest.size()) {
        std::size_t end = start;
        while (end < rest.size() && !IsSeparator(rest[end])) {
            ++end;
        }
        components.push_back(rest.substr(start, end - start));
        start = end + 1;
    }
    return components;
}

// The components joined with single backslashes, the first rootCount kept as they are, "." and
// ".." resolved after them and empty ones dropped; ".." never climbs into the root, as the ordinary
// form's own normalisation behaves.
std::wstring Normalised(const std::vector<std::wstring>& components, std::size_t rootCount) {
    std::vector<std::wstring> kept(components.begin(), components.begin() + rootCount);
    for (std::size_t index = rootCount; index < components.size(); ++index) {
        const std::wstring& component = components[index];
        if (component.empty() || component == L".") {
            continue;
        }
        if (component == L"..") {
            if (kept.size() > rootCount) {
                kept.pop_back();
            }
            continue;
        }
        kept.push_back(component);
    }
    std::wstring joined;
    for (const std::wstring& component : kept) {
        joined += (joined.empty() ? L"" : L"\\") + component;
    }
    return joined;
}

}  // namespace

std::wstring ExtendedPath(const std::wstring& path) {
    if (IsDriveAbsolute(path)) {
        return L"\\\\?\\" + path.substr(0, 2) + L"\\" + Normalised(Components(path.substr(3)), 0);
    }
    if (IsNetworkPath(path)) {
        // The server and the share are the root of a network path, as the drive is of a drive path.
        const std::vector<std::wstring> components = Components(path.substr(2));
        return L"\\\\?\\UNC\\" +
               Normalised(components, components.size() < 2 ? components.size() : 2);
    }
    return path;
}

std::wstring ExtendedLengthPath(const std::wstring& path) {
    return path.size() <= ORDINARY_PATH_LIMIT ? path : ExtendedPath(path);
}
