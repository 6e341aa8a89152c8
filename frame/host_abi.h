// The host's filter interface, declared as the plug-ins use it: filter
// definition version 8, compatible back to version 4. The layouts match the
// host's published binary layout on 32-bit and 64-bit Windows; the
// static_asserts at the end pin every offset the plug-ins rely on.
#pragma once

#include <windows.h>

#include <cstddef>

// The calling convention of the procedures below. Empty for a Windows
// build; a host that is not a Windows program defines it to the Windows one.
#ifndef SORVEL_PLUGIN_CALL
#define SORVEL_PLUGIN_CALL
#endif

struct FilterActivation;
struct FilterDefinition;
struct FilterFunctions;
struct FilterModule;
class IScriptInterpreter;
class CScriptValue;

// The host's bitmap. Word 0 is the vtable pointer of the host's class; the
// plug-ins never call its methods, so it is declared as plain data.
struct VFBitmap {
    void* vtable;
    void* data;  // first pixel: Pixel32 words
    void* palette;
    int depth;
    int w, h;
    ptrdiff_t pitch;  // signed bytes from one row to the next
    ptrdiff_t modulo;
    ptrdiff_t size;
    ptrdiff_t offset;
    DWORD dwFlags;
    HDC hdc;
};

// Preview window of the configuration in progress. Every slot is declared so
// that Toggle, RedoFrame and InitButton land in slots 3, 5 and 8.
class IFilterPreview {
public:
    virtual void SetButtonCallback(void* callback, void* context) = 0;
    virtual void SetSampleCallback(void* callback, void* context) = 0;
    virtual bool isPreviewEnabled() = 0;
    virtual void Toggle(HWND dialog) = 0;
    virtual void Display(HWND dialog, bool show) = 0;
    virtual void RedoFrame() = 0;
    virtual void RedoSystem() = 0;
    virtual void UndoSystem() = 0;
    virtual void InitButton(HWND button) = 0;
    virtual void Close() = 0;
    virtual bool SampleCurrentFrame() = 0;
    virtual long SampleFrames() = 0;
};

struct FilterActivation {
    FilterDefinition* filter;
    void* filter_data;  // the instance data, inst_data_size bytes
    VFBitmap* dst;
    VFBitmap* src;
    void* reserved;
    VFBitmap* last;
    unsigned int x1, y1, x2, y2;
    void* pfsi;
    IFilterPreview* ifp;
};

// One script argument; the plug-ins read only its integer.
class CScriptValue {
public:
    int type;
    void* thisPtr;
    union {
        int i;
        void* p;
        double d;  // sets the union's size and alignment as the host's has them
    } u;

    int asInt() const { return u.i; }
};

using ScriptFunction = void(SORVEL_PLUGIN_CALL*)(IScriptInterpreter*, void* filterActivation, CScriptValue* argv,
                                                 int argc);

struct ScriptFunctionDef {
    ScriptFunction func_ptr;
    const char* name;
    const char* arg_list;
};

struct CScriptObject {
    void* Lookup;
    ScriptFunctionDef* func_list;
    void* obj_list;
};

using FilterInitProc = int(SORVEL_PLUGIN_CALL*)(FilterActivation*, const FilterFunctions*);
using FilterDeinitProc = void(SORVEL_PLUGIN_CALL*)(FilterActivation*, const FilterFunctions*);
using FilterRunProc = int(SORVEL_PLUGIN_CALL*)(const FilterActivation*, const FilterFunctions*);
using FilterParamProc = long(SORVEL_PLUGIN_CALL*)(FilterActivation*, const FilterFunctions*);
using FilterConfigProc = int(SORVEL_PLUGIN_CALL*)(FilterActivation*, const FilterFunctions*, HWND);
using FilterStringProc = void(SORVEL_PLUGIN_CALL*)(const FilterActivation*, const FilterFunctions*, char*);
using FilterStartProc = int(SORVEL_PLUGIN_CALL*)(FilterActivation*, const FilterFunctions*);
using FilterEndProc = int(SORVEL_PLUGIN_CALL*)(FilterActivation*, const FilterFunctions*);
using FilterScriptStrProc = bool(SORVEL_PLUGIN_CALL*)(FilterActivation*, const FilterFunctions*, char*, int);

struct FilterDefinition {
    FilterDefinition* next;
    FilterDefinition* prev;
    FilterModule* module;
    const char* name;
    const char* desc;
    const char* maker;
    void* private_data;
    int inst_data_size;  // in a pointer-sized slot
    FilterInitProc initProc;
    FilterDeinitProc deinitProc;
    FilterRunProc runProc;
    FilterParamProc paramProc;
    FilterConfigProc configProc;
    FilterStringProc stringProc;
    FilterStartProc startProc;
    FilterEndProc endProc;
    CScriptObject* script_obj;
    FilterScriptStrProc fssProc;
    void* stringProc2;
    void* serializeProc;
    void* deserializeProc;
    void* copyProc;
};

struct FilterModule {
    FilterModule* next;
    FilterModule* prev;
    HINSTANCE hInstModule;
    void* initProc;
    void* deinitProc;
};

struct FilterFunctions {
    FilterDefinition*(SORVEL_PLUGIN_CALL* addFilter)(FilterModule*, FilterDefinition*, int fd_len);
    void(SORVEL_PLUGIN_CALL* removeFilter)(FilterDefinition*);
    bool(SORVEL_PLUGIN_CALL* isFPUEnabled)();
    bool(SORVEL_PLUGIN_CALL* isMMXEnabled)();
    void(SORVEL_PLUGIN_CALL* InitVTables)(void*);
    void(SORVEL_PLUGIN_CALL* ExceptOutOfMemory)();
    void(SORVEL_PLUGIN_CALL* Except)(const char* format, ...);
    long(SORVEL_PLUGIN_CALL* getCPUFlags)();
};

// Filter definition version and the oldest version the plug-ins work with.
constexpr int kFilterDefinitionVersion = 8;
constexpr int kFilterDefinitionCompatible = 4;

// The offset that applies to this build: 32-bit or 64-bit Windows.
constexpr std::size_t forTarget(std::size_t at32, std::size_t at64) { return sizeof(void*) == 4 ? at32 : at64; }

#define SORVEL_PIN(type, field, at32, at64) \
    static_assert(offsetof(type, field) == forTarget(at32, at64), #type "::" #field)

static_assert(sizeof(FilterDefinition) == 22 * sizeof(void*), "FilterDefinition is 22 words");
SORVEL_PIN(FilterDefinition, name, 12, 24);
SORVEL_PIN(FilterDefinition, inst_data_size, 28, 56);
SORVEL_PIN(FilterDefinition, initProc, 32, 64);
SORVEL_PIN(FilterDefinition, runProc, 40, 80);
SORVEL_PIN(FilterDefinition, configProc, 48, 96);
SORVEL_PIN(FilterDefinition, endProc, 60, 120);
SORVEL_PIN(FilterDefinition, script_obj, 64, 128);
SORVEL_PIN(FilterDefinition, fssProc, 68, 136);
SORVEL_PIN(FilterDefinition, copyProc, 84, 168);

SORVEL_PIN(FilterModule, next, 0, 0);
SORVEL_PIN(FilterModule, prev, 4, 8);
SORVEL_PIN(FilterModule, hInstModule, 8, 16);

SORVEL_PIN(VFBitmap, data, 4, 8);
SORVEL_PIN(VFBitmap, palette, 8, 16);
SORVEL_PIN(VFBitmap, depth, 12, 24);
SORVEL_PIN(VFBitmap, w, 16, 28);
SORVEL_PIN(VFBitmap, h, 20, 32);
SORVEL_PIN(VFBitmap, pitch, 24, 40);
SORVEL_PIN(VFBitmap, modulo, 28, 48);
SORVEL_PIN(VFBitmap, size, 32, 56);
SORVEL_PIN(VFBitmap, offset, 36, 64);
SORVEL_PIN(VFBitmap, dwFlags, 40, 72);
SORVEL_PIN(VFBitmap, hdc, 44, 80);

SORVEL_PIN(FilterActivation, filter, 0, 0);
SORVEL_PIN(FilterActivation, filter_data, 4, 8);
SORVEL_PIN(FilterActivation, dst, 8, 16);
SORVEL_PIN(FilterActivation, src, 12, 24);
SORVEL_PIN(FilterActivation, reserved, 16, 32);
SORVEL_PIN(FilterActivation, last, 20, 40);
SORVEL_PIN(FilterActivation, x1, 24, 48);
SORVEL_PIN(FilterActivation, y2, 36, 60);
SORVEL_PIN(FilterActivation, pfsi, 40, 64);
SORVEL_PIN(FilterActivation, ifp, 44, 72);

SORVEL_PIN(CScriptValue, type, 0, 0);
SORVEL_PIN(CScriptValue, thisPtr, 4, 8);
SORVEL_PIN(CScriptValue, u, 8, 16);
static_assert(sizeof(CScriptValue) == forTarget(16, 24), "CScriptValue size");

SORVEL_PIN(ScriptFunctionDef, func_ptr, 0, 0);
SORVEL_PIN(ScriptFunctionDef, name, 4, 8);
SORVEL_PIN(ScriptFunctionDef, arg_list, 8, 16);
SORVEL_PIN(CScriptObject, Lookup, 0, 0);
SORVEL_PIN(CScriptObject, func_list, 4, 8);
SORVEL_PIN(CScriptObject, obj_list, 8, 16);

SORVEL_PIN(FilterFunctions, addFilter, 0, 0);
SORVEL_PIN(FilterFunctions, removeFilter, 4, 8);
SORVEL_PIN(FilterFunctions, getCPUFlags, 28, 56);
