// <windows.h> for code that also sees the platform seam. The ANSI/wide name macros of a few
// Win32 functions share their names with Platform's operations and would silently rename them
// in one translation unit only; undefining them keeps the seam's names intact. Call the "A"
// functions by their full names.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef MessageBox
#undef DeleteFile
#undef RegCreateKey
#undef RegDeleteValue
