// The 10,000-file disc of bench/ScanCases.h built below a real Windows root, for the timing
// programs that run under Wine or on Windows.
#pragma once

#include "platform/win32/WinApi.h"

#include <string>

#include "ScanCases.h"

namespace vexamo::bench {

// Builds the disc below `root` unless the marker file scanbench.built says it is already complete.
inline bool BuildScanDisc(const std::string& root) {
    const std::string marker = root + "scanbench.built";
    if (GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    bool ok = true;
    GenerateScanDisc(
        [&](const std::string& f) {
            if (!CreateDirectoryA((root + f).c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) ok = false;
        },
        [&](const std::string& f) {
            HANDLE h = CreateFileA((root + f).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                   nullptr);
            if (h == INVALID_HANDLE_VALUE) {
                ok = false;
                return;
            }
            DWORD written = 0;
            WriteFile(h, "x", 1, &written, nullptr);
            CloseHandle(h);
        });
    if (!ok) return false;
    HANDLE h = CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

}  // namespace vexamo::bench
