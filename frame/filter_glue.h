// The procedures every filter hands the host, written once for any filter
// type F. F supplies:
//   using Instance = ...;                    the record in the instance data
//   static const char* const name, desc;     as the host lists the filter
//   static void render(const Instance&, const sorvel::SourceImage&, const sorvel::DestImage&);
// and its share of the configuration dialog (frame/dialog_frame.h).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <type_traits>

#include "core/default_float_env.h"
#include "core/image_view.h"
#include "frame/dialog_frame.h"
#include "frame/host_abi.h"
#include "frame/portable/instance.h"
#include "frame/portable/script_text.h"

namespace sorvel::frame {

constexpr const char* kMaker = "Vornak Software";
constexpr int kDialogTemplate = 101;

template <class F>
struct FilterGlue {
    using Instance = typename F::Instance;
    static_assert(std::is_same_v<decltype(Instance::preview), void*>, "the preview word leads the record");

    static Instance& instance(const FilterActivation* fa) { return *static_cast<Instance*>(fa->filter_data); }

    static int initProc(FilterActivation* fa, const FilterFunctions*) {
        initInstance(instance(fa));
        return 0;
    }

    static int runProc(const FilterActivation* fa, const FilterFunctions*) {
        const DefaultFloatEnv floatEnv;  // bit-exact whatever rounding the host set
        const VFBitmap& src = *fa->src;
        const VFBitmap& dst = *fa->dst;
        F::render(instance(fa), {static_cast<const unsigned char*>(src.data), src.w, src.h, src.pitch},
                  {static_cast<unsigned char*>(dst.data), dst.pitch});
        return 0;
    }

    // Opens dialog 101 with the instance data as its creation value. Any
    // result but OK (0) restores every byte saved when the dialog opened,
    // the preview word included.
    static int configProc(FilterActivation* fa, const FilterFunctions*, HWND parent) {
        Instance& inst = instance(fa);
        unsigned char saved[sizeof(Instance)];
        std::memcpy(saved, &inst, sizeof saved);
        inst.preview = fa->ifp;
        // The template's trackbars need the common controls, whether or not
        // the host registered them.
        const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
        const INT_PTR result = DialogBoxParamA(fa->filter->module->hInstModule, MAKEINTRESOURCEA(kDialogTemplate),
                                               parent, dialogProc<F>, reinterpret_cast<LPARAM>(&inst));
        if (result == 0) return 0;
        std::memcpy(&inst, saved, sizeof saved);
        return 1;
    }

    static void stringProc(const FilterActivation*, const FilterFunctions*, char*) {}

    static int startProc(FilterActivation*, const FilterFunctions*) { return 0; }
    static int endProc(FilterActivation*, const FilterFunctions*) { return 0; }

    static bool scriptStringProc(FilterActivation* fa, const FilterFunctions*, char* buf, int length) {
        const ScriptParameters p = scriptParameters(instance(fa));
        formatConfigScript(buf, length, *p.at[0], *p.at[1], *p.at[2]);
        return true;
    }

    // Config(a, b, c): the three integers go into parameters 1 to 3 as they
    // are, without a range check. The count is fixed by the signature.
    static void configScript(IScriptInterpreter*, void* fa, CScriptValue* argv, int) {
        const ScriptParameters p = scriptParameters(instance(static_cast<FilterActivation*>(fa)));
        for (int i = 0; i < 3; ++i) *p.at[i] = argv[i].asInt();
    }

    static inline ScriptFunctionDef scriptFunctions[] = {
        {configScript, "Config", "0iii"},
        {nullptr, nullptr, nullptr},
    };
    static inline CScriptObject scriptObject = {nullptr, scriptFunctions, nullptr};

    // clang-format off
    static inline FilterDefinition definition = {
        nullptr, nullptr, nullptr,        // next, prev, module: the host's
        F::name, F::desc, kMaker,
        nullptr,                          // private_data
        static_cast<int>(sizeof(Instance)),
        initProc, nullptr, runProc, nullptr, configProc, stringProc, startProc, endProc,
        &scriptObject, scriptStringProc,
        nullptr, nullptr, nullptr, nullptr,
    };
    // clang-format on
};

}  // namespace sorvel::frame
