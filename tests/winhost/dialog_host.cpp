// A host for the configuration dialogs: loads one plug-in library, opens its
// dialog in real windows and checks layout and behaviour, or saves a
// picture of the dialog with the defaults set.
//
//   dialoghost PLUGIN.vdf yiq|rgb|hsv             run the checks
//   dialoghost PLUGIN.vdf yiq|rgb|hsv OUT.bmp     save the picture
//
// Exit status 0 when every check passed; each failure is printed.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>

#include "winhost/accepting_host.h"
#include "winhost/checks.h"
#include "winhost/dialog_checks.h"
#include "winhost/help_intercept.h"

int main(int argc, char** argv) {
    const sorvel::test::DialogFilter* filter = argc >= 3 ? sorvel::test::dialogFilter(argv[2]) : nullptr;
    if (argc < 3 || argc > 4 || !filter) {
        std::fprintf(stderr, "usage: dialoghost PLUGIN.vdf yiq|rgb|hsv [OUT.bmp]\n");
        return 2;
    }
    // The host has the common controls registered before any plug-in runs.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    HMODULE lib = LoadLibraryA(argv[1]);
    if (!sorvel::test::check(lib != nullptr, std::string("load ") + argv[1])) return sorvel::test::report(argv[2]);
    const bool helpIntercepted = sorvel::test::interceptHelp(lib);

    FilterDefinition* registered = sorvel::test::registerWithAcceptingHost(lib);
    if (!sorvel::test::check(registered != nullptr, "registration")) return sorvel::test::report(argv[2]);

    if (argc == 4) {
        sorvel::test::check(sorvel::test::screenshotDialog(registered, argv[3]),
                            std::string("picture saved to ") + argv[3]);
    } else {
        sorvel::test::checkDialogLayout(registered, lib, *filter);
        sorvel::test::checkDialogBehaviour(registered, *filter, helpIntercepted);
    }
    FreeLibrary(lib);
    return sorvel::test::report(argv[2]);
}
