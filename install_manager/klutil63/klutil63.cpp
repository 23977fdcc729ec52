// libklutil63.so, the SDK's utility library: its one export tells where the
// library itself lies, so an installation can be checked from outside.
#include <platform/VersionInfo.h>

#include <dlfcn.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

KL_VERSION_RESOURCE("Translation=040904B0\n"
                    "040904B0\\CompanyName=Korlith3D\n"
                    "040904B0\\FileDescription=Korlith3D utility library\n"
                    "040904B0\\FileVersion=6, 3, 0, 0\n"
                    "040904B0\\InternalName=klutil63\n"
                    "040904B0\\LegalCopyright=Copyright (C) Korlith3D\n"
                    "040904B0\\OriginalFileName=libklutil63.so\n"
                    "040904B0\\ProductName=Korlith3D\n"
                    "040904B0\\ProductVersion=6, 3, 0, 0\n");

namespace {

// The caller's buffer: 255 characters, the last one kept for the NUL.
constexpr std::size_t BufferSize = 255;

} // namespace

// Writes this library's full path (UTF-8, NUL-terminated, cut to the
// buffer) into `buffer`; returns the number of bytes written before the
// NUL, 0 when the path is unknown.
extern "C" __attribute__((visibility("default"))) int GetPathDLL(char* buffer)
{
    if (!buffer)
        return 0;
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&GetPathDLL), &info) == 0 || !info.dli_fname) {
        buffer[0] = '\0';
        return 0;
    }
    // A library loaded by a relative path is named as loaded: make it whole.
    const char* path = info.dli_fname;
    std::unique_ptr<char, decltype(&std::free)> absolute(nullptr, &std::free);
    if (path[0] != '/') {
        absolute.reset(realpath(path, nullptr));
        if (absolute)
            path = absolute.get();
    }
    const std::size_t length = std::min(std::strlen(path), BufferSize - 1);
    std::memcpy(buffer, path, length);
    buffer[length] = '\0';
    return static_cast<int>(length);
}
