#!/bin/sh
# sorvel --version names the kernel in use and why, for each kind of
# SORVEL_KERNEL value.   version-kernel.sh SORVEL
set -u
sorvel=$1
fail=0
while IFS='|' read -r value expected; do
    got=$(SORVEL_KERNEL=$value "$sorvel" --version | sed -n 's/^Kernel: //p')
    # shellcheck disable=SC2254 # the expected text is a pattern
    case $got in
        $expected) ;;
        *) echo "FAIL SORVEL_KERNEL='$value': got '$got', expected '$expected'"; fail=1 ;;
    esac
done <<'ROWS'
scalar|scalar (SORVEL_KERNEL)
sse2|sse2 (SORVEL_KERNEL)
|* (the fastest this CPU runs)
x|* (the fastest this CPU runs; SORVEL_KERNEL=x is not scalar, sse2 or avx2)
ROWS
[ $fail -eq 0 ] && echo ok
exit $fail
