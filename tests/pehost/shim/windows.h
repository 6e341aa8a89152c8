// The few Windows types frame/host_abi.h names, for the PE test host, which
// is a Linux program. Only their sizes matter: the host never calls through
// the window or device handles.
#pragma once

#include <cstdint>

using DWORD = std::uint32_t;
using HWND = struct Window*;
using HDC = struct DeviceContext*;
using HINSTANCE = void*;

// The libraries' calling convention as seen from here: cdecl on i686 Linux
// is that of 32-bit Windows; x86-64 Linux must ask for the Microsoft one.
#if defined(__x86_64__)
#define SORVEL_PLUGIN_CALL __attribute__((ms_abi))
#endif
