#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

// A fresh folder under the temporary path, removed with everything in it when the owner goes.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::wstring& Path() const { return path_; }
    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

  private:
    std::wstring path_;
};

void WriteBytes(const std::wstring& path, const Bytes& bytes);
Bytes RandomBytes(std::size_t count, std::uint32_t seed);
Bytes BytesOf(const std::string& text);
std::uint32_t ZlibCrc32(const Bytes& bytes);
