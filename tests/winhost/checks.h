// Minimal checking for the Windows test host: every check prints on
// failure and counts; report() prints the total and gives the exit status.
#pragma once

#include <cstdio>
#include <sstream>
#include <string>

namespace sorvel::test {

inline int& failures() {
    static int n = 0;
    return n;
}
inline int& passes() {
    static int n = 0;
    return n;
}

inline bool check(bool ok, const std::string& what) {
    if (ok) {
        ++passes();
    } else {
        ++failures();
        std::printf("FAIL %s\n", what.c_str());
    }
    return ok;
}

template <class A, class B>
bool checkEqual(const A& actual, const B& expected, const std::string& what) {
    if (actual == expected) return check(true, what);
    std::ostringstream s;
    s << what << ": got " << actual << ", expected " << expected;
    return check(false, s.str());
}

inline int report(const char* name) {
    std::printf("%s: %d checks passed, %d failed\n", name, passes(), failures());
    std::fflush(stdout);
    return failures() == 0 ? 0 : 1;
}

}  // namespace sorvel::test
