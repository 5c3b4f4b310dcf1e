/* A library of a system name, as anyone may leave one beside a program. Loaded, it leaves a mark
 * beside itself, "<its path>.loaded"; as bcrypt.dll it forges every digest, 0xAB bytes of the
 * right length, and as version.dll it finds no version in any file. Each function takes only the
 * arguments it reads: on x64 the caller passes the rest in registers and cleans up after. */
/* Not windows.h, which declares the version functions with the arguments left out here. */
#include <windef.h>
#include <winbase.h>

#include <string.h>
#include <wchar.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved) {
    wchar_t path[MAX_PATH + 8];
    const DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
    if (reason == DLL_PROCESS_ATTACH && length > 0 && length < MAX_PATH) {
        wcscpy(path + length, L".loaded");
        CloseHandle(CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
    }
    return TRUE;
}

/* Success for bcrypt, and no version information for version. */
#define RETURNS_ZERO(name)                         \
    __declspec(dllexport) LONG WINAPI name(void) { \
        return 0;                                  \
    }

#if defined(PLANTED_bcrypt)

/* A provider's handle, and its hashes', is the length of its digest. */
__declspec(dllexport) LONG WINAPI
    BCryptOpenAlgorithmProvider(ULONG_PTR* provider, const wchar_t* algorithm) {
    *provider = wcscmp(algorithm, L"MD5") == 0 ? 16 : wcscmp(algorithm, L"SHA1") == 0 ? 20 : 32;
    return 0;
}

__declspec(dllexport) LONG WINAPI BCryptGetProperty(ULONG_PTR provider, const wchar_t* property,
                                                    ULONG* value, ULONG size, ULONG* written) {
    *value = wcscmp(property, L"HashDigestLength") == 0 ? (ULONG)provider : 0;
    *written = sizeof *value;
    return 0;
}

__declspec(dllexport) LONG WINAPI BCryptCreateHash(ULONG_PTR provider, ULONG_PTR* hash) {
    *hash = provider;
    return 0;
}

__declspec(dllexport) LONG WINAPI BCryptFinishHash(ULONG_PTR hash, UCHAR* digest, ULONG size) {
    memset(digest, 0xAB, size);
    return 0;
}

RETURNS_ZERO(BCryptHashData)
RETURNS_ZERO(BCryptDestroyHash)
RETURNS_ZERO(BCryptCloseAlgorithmProvider)

#elif defined(PLANTED_version)

RETURNS_ZERO(GetFileVersionInfoSizeW)
RETURNS_ZERO(GetFileVersionInfoW)
RETURNS_ZERO(VerQueryValueW)

#endif
