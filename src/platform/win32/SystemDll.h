// Functions of system DLLs that only some windows need, loaded when a window first calls them:
// a DLL linked to the exe is loaded at start-up with everything it imports in turn (comdlg32
// brings the print spooler's), and the agent waits in the tray nearly all day without them.
#pragma once

#include "platform/win32/WinApi.h"

namespace vexamo::win32 {

// The address of `function` in the system DLL `dll`, loaded from the system folder only and kept
// loaded. Raises Error saying which DLL or function is missing.
FARPROC SystemFunction(const wchar_t* dll, const char* function);

// The same, typed as the function's own declaration: SystemCall<decltype(&GetOpenFileNameW)>(...).
template <typename F>
F SystemCall(const wchar_t* dll, const char* function) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(SystemFunction(dll, function)));
}

}  // namespace vexamo::win32
