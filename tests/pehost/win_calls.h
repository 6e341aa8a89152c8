// Windows calling conventions as seen from a Linux program of the same
// bitness: the system DLLs' WINAPI (stdcall on 32-bit) and the C runtime's
// cdecl, both the Microsoft x64 convention on 64-bit.
#pragma once

#if defined(__x86_64__)
#define SORVEL_WINAPI __attribute__((ms_abi))
#define SORVEL_CRT __attribute__((ms_abi))
#else
#define SORVEL_WINAPI __attribute__((stdcall))
#define SORVEL_CRT
#endif
