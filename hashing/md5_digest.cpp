#include "hashing/file_pass.h"
#include "hashing/md5.h"

std::string BuiltinMd5Digest(const std::wstring& path, std::uint64_t totalSize) {
    Md5Context context;
    Md5Init(context);
    const PassOutcome outcome =
        FilePass(path, totalSize, [&context](const unsigned char* bytes, std::size_t count) {
            Md5Update(context, bytes, count);
        });
    if (outcome != PassOutcome::Completed) {
        return std::string();
    }
    return Md5Final(context);
}
