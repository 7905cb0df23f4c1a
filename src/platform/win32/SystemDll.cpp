#include "platform/win32/SystemDll.h"

#include <string>

#include "platform/Errors.h"
#include "platform/win32/Wide.h"

namespace vexamo::win32 {

FARPROC SystemFunction(const wchar_t* dll, const char* function) {
    // Loading the same DLL again only counts a reference; it is never freed, as if linked.
    HMODULE module = LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module)
        throw Error("Windows' " + Narrow(dll) + " could not be loaded (error " + std::to_string(GetLastError()) +
                    "); this window needs it.");
    FARPROC found = GetProcAddress(module, function);
    if (!found)
        throw Error("Windows' " + Narrow(dll) + " has no function " + function + "; this window needs it.");
    return found;
}

}  // namespace vexamo::win32
