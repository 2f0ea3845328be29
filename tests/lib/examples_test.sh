#!/usr/bin/env bash
# The C and Python examples answer as kvr does, through the library; the library exports the C
# interface alone, under its versioned soname.
#   examples_test.sh KVR LIBRARY C_EXAMPLE PYTHON_EXAMPLE
set -euo pipefail
kvr=$1 library=$2 c_example=$3 python_example=$4
failed=0
fail() { echo "FAIL  $*"; failed=1; }

puzzle=4.....8.5.3..........7......2.....6.....8.4......1.......6.3.7.5..2.....1.4......
rated=$("$kvr" rate "$puzzle")
grade=$(cut -d: -f2 <<<"$rated")
hardest=$(cut -d: -f3 <<<"$rated" | cut -d/ -f1)
rating=$(cut -d: -f4 -s <<<"$rated")
expected="solution $("$kvr" solve "$puzzle")
solutions $("$kvr" count "$puzzle" | cut -d: -f2)
grade $grade, rating ${rating:-0.0}, hardest $hardest
generated $("$kvr" generate --difficulty medium --symmetry rotational --seed 1 2>/dev/null | tr . 0)"

check() {
  local name=$1; shift
  local got
  got=$("$@" "$puzzle" | sed 's/, [0-9]* bytes of steps$//') || { fail "$name ended with status $?"; return; }
  [ "$got" = "$expected" ] || fail "$name: $(diff <(echo "$expected") <(echo "$got") | grep '^[<>]' | tr '\n' ' ')"
}
check "C example" "$c_example"
if [ -n "${KAVRIN_SKIP_PYTHON:-}" ]; then
  echo "the Python example is left out: $KAVRIN_SKIP_PYTHON"
else
  KAVRIN_LIBRARY=$library check "Python example" python3 "$python_example"
fi

soname=$(objdump -p "$library" | awk '$1 == "SONAME" { print $2 }')
[ "$soname" = libkavrin.so.1 ] || fail "soname is '$soname'"
others=$(nm -D --defined-only "$library" | awk '$3 !~ /^kavrin_/ && $3 != "KAVRIN_1" { print $3 }')
[ -z "$others" ] || fail "exported beyond the C interface: $(echo $others | head -c 300)"

exit $failed
