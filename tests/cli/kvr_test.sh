#!/usr/bin/env bash
# kvr end to end: what each command prints and exits with, batches on several threads, and
# files that fail without harm.
#   kvr_test.sh KVR DATA_FOLDER
set -uo pipefail
kvr=$1 data=$2
# Every run has a time limit: a hang fails its case, not the whole test.
timed() { timeout 120 "$kvr" "$@"; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }

easy=53..7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5....8..79
easy_solution=534678912672195348198342567859761423426853791713924856961537284287419635345286179
# The easy puzzle without its last row's 8: two solutions, told apart by the 7 and 9 swapped.
many=53..7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5.........
many_first=534678192672195348198342567859761423426853971713924856961537284287419635345286719
dots() { printf "%$1s" | tr ' ' .; }
empty=$(dots 81)
nl=$'\n'

# Runs kvr on the standard input file $in (none: empty), leaving $code, $out and $err whole.
in=/dev/null
run() {
    timed "$@" <"$in" >"$tmp/out" 2>"$tmp/err"
    code=$?
    IFS= read -r -d '' out < <(head -c 1M "$tmp/out") # a runaway run is cut short
    IFS= read -r -d '' err < <(head -c 1M "$tmp/err")
}
# expect WHAT CODE OUT ERR: the last run's status, and texts that its output and error contain.
expect() {
    [ "$code" = "$2" ] || fail "$1: status $code, not $2; $err"
    [[ $out == *"$3"* ]] || fail "$1: the output lacks '$3': $out"
    [[ $err == *"$4"* ]] || fail "$1: the error lacks '$4': $err"
}
# exactly WHAT EXPECTED ACTUAL
exactly() { [ "$3" = "$2" ] || fail "$1: '$3', not '$2'"; }

# case WHAT STATUS OUT ERR ARGS...: kvr ARGS exits with STATUS, its output containing OUT and its
# error ERR.
case_() {
    local what=$1 status=$2 output=$3 error=$4
    shift 4
    run "$@"
    expect "$what" "$status" "$output" "$error"
}
case_ help 0 'Usage: kvr' '' --help
case_ 'command help' 0 'Usage: kvr count' '' count --help
case_ version 0 'kvr 1.' '' --version
case_ solve 0 "$easy_solution" '' solve "$easy"
case_ 'solve, first of many' 0 "$many_first" '' solve "$many"
case_ 'solve refused' 1 55 'Please check entries.' solve "55$(dots 79)"
case_ 'check solved' 0 '3- Puzzle solved.' '' check "$easy_solution"
case_ 'check unsolved' 1 $'3- Correct this errors:\n\nError at square 1,1' '' check "$easy"
case_ show 0 '| 5 3 . | . 7 . | . . . |' '' show "$easy"
case_ 'count unique' 0 "$easy:1:$easy_solution$nl" '' count "$easy"
case_ 'count many' 1 "$many:2+:$many_first" '' count "$many"
case_ 'count exactly two' 1 "$many:2:$many_first" '' count --limit 3 "$many"
case_ 'count none' 1 "55$(dots 79):0:$nl" '' count "55$(printf %079d 0)"
case_ 'count empty grid' 1 "$empty:1000+:123456789456789123789123456" '' count --limit 1000 "$empty"
case_ 'unknown command' 2 '' 'unknown command: frobnicate' frobnicate
case_ 'unknown option' 2 '' --fast generate --fast
case_ 'bad number' 2 '' "-n: needs a whole number of at least 1, not 'x'" generate -n x
case_ 'bad limit' 2 '' "--limit: needs a whole number of at least 1, not '0'" count --limit 0
case_ 'missing file' 2 '' 'kvr: /no/such.kvr: No such file or directory' show /no/such.kvr
case_ 'bad line' 2 '' "character 81 ('x')" show "$(dots 80)x"
case_ 'control byte shown escaped' 2 '' "character 81 ('\\x1b')" show "$(dots 80)"$'\x1b'
case_ 'no command' 2 '' "Try 'kvr --help'."
case_ explain 0 "1. row 3: 5 can only go in column 7 [hidden-single]$nl" '' rate --explain "$easy"
case_ 'explain, the verdict' 0 "${nl}51. row 9: 6 can only go in column 6 [hidden-single]${nl}grade: easy (the hardest step: hidden-single); rating: 1.2$nl" '' rate --explain "$easy"
case_ 'explain as JSON' 0 '{"technique": "hidden-single", "rating": 1.2, "place": [[3, 7, 5]], "remove": [], "text": "row 3: 5 can only go in column 7"}' '' rate --explain --json "$easy"
case_ 'explain as JSON, the end' 0 "{\"puzzle\": \"$easy\", \"grade\": \"easy\", \"rating\": 1.2}$nl" '' rate --explain --json "$easy"
case_ 'explain many as JSON' 1 "{\"puzzle\": \"$many\", \"grade\": \"many-solutions\", \"rating\": null}$nl" '' rate --explain --json "$many"
case_ 'JSON alone' 2 '' '--json requires --explain' rate --json "$easy"
case_ 'rating range backwards' 2 '' "--rating: needs two ratings A-B with A at most B, not '7-6'" generate --rating 7-6
case_ 'explain many' 1 "more than one solution, so no grade$nl" '' rate --explain "$many"
case_ 'symmetry alone' 2 '' '--symmetry requires --difficulty' generate --symmetry mirror
case_ 'no such grade' 2 '' 'fiendish not in {easy,medium,hard,expert,extreme}' generate --difficulty fiendish
case_ 'seed with a sign' 2 '' "--seed: needs a whole number of at least 0, not '-1'" generate --seed -1
case_ 'seed past 64 bits' 2 '' "--seed: needs a whole number of at most 18446744073709551615, not '18446744073709551616'" \
    generate --seed 18446744073709551616
case_ 'empty seed' 2 '' '--seed: needs a value, not an empty one' generate --seed ''
case_ 'empty file name' 2 '' '-o: needs a value, not an empty one' generate -o ''
case_ 'empty output' 2 '' 'OUT: needs a value, not an empty one' convert "$easy" ''

# Seeds are decimal, leading zeros and all, over the whole unsigned 64-bit range.
for seeds in '8 08 008' '9223372036854775808 09223372036854775808' '18446744073709551615 018446744073709551615'; do
    first=''
    for seed in $seeds; do
        run generate --seed "$seed"
        [ "$code" = 0 ] || fail "seed $seed: status $code; $err"
        [ "${first:=$out}" = "$out" ] || fail "seed $seed differs from ${seeds%% *}"
    done
done

# Lines that solve, fail, are refused or are not puzzles, in one batch: every thread count gives
# the same bytes, the same messages in the same order, and the worst status.
run generate -n 300 --seed 7
exactly 'failed attempts' 300 "$(grep -c 'failed attempt' "$tmp/err")"
{ cat "$tmp/out"; printf '%s\n' "$many" "55$(dots 79)" "$(dots 80)" "$(dots 16)"$'\t'"$(dots 64)" '' "$empty" "$easy"; } >"$tmp/batch"
for command in solve count rate; do
    in=$tmp/batch run "$command" -
    expect "$command -" 2 '' "kvr: line 303: a puzzle line has 81 characters, this one has 80$nl"
    expect "$command -" 2 '' "kvr: line 304: character 17 ('\\x09') is not a digit, '.' or '0'$nl"
    exactly "$command - lines" 304 "$(wc -l <"$tmp/out")"
    one=("$code" "$out" "$err")
    for jobs in 2 5 0; do
        in=$tmp/batch run "$command" --jobs "$jobs" -
        [ "${one[*]}" = "$code $out $err" ] || fail "$command --jobs $jobs differs from one job"
    done
done
# Lines enough to go round the threads' ring of slots several times, and to fill it.
for round in 1 2 3 4 5 6 7 8 9 10; do cat "$tmp/batch"; done >"$tmp/rounds"
in=$tmp/rounds run solve -
one=("$code" "$out" "$err")
in=$tmp/rounds run solve --jobs 2 -
[ "${one[*]}" = "$code $out $err" ] || fail "solve --jobs 2 of the batch ten times differs from one job"

# Standard output that cannot take the bytes: every command says so and exits with 3, with no
# pointer to the help, since nothing was wrong with the command line.
printf '%s\n' "$easy" >"$tmp/easy"
for args in "show $easy" "check $easy" "solve $easy" "count -" "generate --seed 1" "convert $easy -" "solve --help"; do
    # shellcheck disable=SC2086
    timed $args <"$tmp/easy" >/dev/full 2>"$tmp/err"
    exactly "$args onto a full disk" "3 kvr: standard output: No space left on device" "$? $(tail -n 1 "$tmp/err")"
done

# Whatever makes a command fail, an output file that was there stays byte for byte, and no
# temporary file is left beside it. IN is the input, OUT and LINK the old file and a link to it;
# LIMIT, when given, is how many kilobytes a file may grow to.
while IFS='|' read -r what input size_limit status error args; do
    dir=$tmp/whole && rm -rf "$dir" && mkdir "$dir"
    timed convert "$easy_solution" "$dir/old.kvr" && cp "$dir/old.kvr" "$tmp/before" && ln -s old.kvr "$dir/link.kvr"
    input=${input/OUT/$dir/old.kvr} && input=${input/LINK/$dir/link.kvr} && args=${args/IN/$input}
    # The error comes through a pipe, which the limit leaves alone.
    # shellcheck disable=SC2086
    err=$( (trap '' XFSZ && ulimit -f "${size_limit:-unlimited}" && exec timeout 120 "$kvr" ${args/OUT/$dir/old.kvr} 2>&1 >/dev/null))
    code=$? out=''
    expect "$what" "$status" '' "$error"
    cmp -s "$tmp/before" "$dir/old.kvr" || fail "$what: the old file changed"
    exactly "$what: files left" 'link.kvr old.kvr' "$(shopt -s dotglob && cd "$dir" && echo *)"
done <<EOF
input a folder|.||2|Is a directory|convert IN OUT
input no puzzle|$(printf %081d 0 | tr 0 x)||2|is not a digit|convert IN OUT
onto itself|OUT||2|is the same file as the input|convert IN OUT
onto itself through a link|LINK||2|is the same file as the input|convert IN OUT
disk full|$easy|0|3|File too large|convert IN OUT
generate two into one|||2|-o writes one grid|generate -n 2 -o OUT
generate, disk full||0|3|File too large|generate -o OUT
EOF

# A FIFO is written in place, never replaced by a file.
mkfifo "$tmp/fifo" && exec 3<>"$tmp/fifo"
run convert "$easy" "$tmp/fifo"
IFS= read -r -t 5 line <&3 && exec 3<&-
exactly 'convert into a FIFO' "0 $easy FIFO" "$code ${line-} $([ -p "$tmp/fifo" ] && echo FIFO)"

# Standard output named twice stays open for the second.
timed generate --seed 1 -o - >"$tmp/both" 2>/dev/null
exactly 'generate -o - onto standard output' '0 325' "$? $(stat -c %s "$tmp/both")"

# A name for one of kvr's open descriptors is written through it, in place, between what the
# shell writes before and after.
for path in /dev/stdout /dev/stderr /dev/fd/3 /proc/self/fd/3; do
    { echo before && timed convert "$easy" "$path" && echo after; } >"$tmp/around" 2>&1 3>&1
    exactly "convert into $path" "before$nl$easy${nl}after" "$(<"$tmp/around")"
done

# Through a link to a file that is not there yet, that file is made and the link stays; a link
# loop is refused with the system's reason.
dir=$tmp/links && mkdir "$dir" && ln -s made.kvr "$dir/dangling.kvr" && ln -s loop.kvr "$dir/loop.kvr"
run convert "$easy" "$dir/dangling.kvr"
exactly 'convert through a dangling link' '0 243 a link' "$code $(stat -c %s "$dir/made.kvr") $([ -L "$dir/dangling.kvr" ] && echo a link)"
run convert "$easy" "$dir/loop.kvr"
exactly 'convert into a link loop' "3 kvr: $dir/loop.kvr: Too many levels of symbolic links$nl dangling.kvr loop.kvr made.kvr" \
    "$code $err $(shopt -s dotglob && cd "$dir" && echo *)"

# An existing file the user may not write is refused with the system's reason and left as it
# was, where cp refuses it too. Root may write any file, so it is also tried as an unprivileged
# user where the system has one.
timed convert "$easy" "$tmp/easy.kvr"
chmod 755 "$tmp"
read_only_case() { # read_only_case WHO [COMMAND that runs as WHO...]
    local who=$1 dir=$tmp/read-only copied=0
    shift
    rm -rf "$dir" && mkdir -m 777 "$dir" && echo old >"$dir/cp.kvr" && echo old >"$dir/kvr.kvr"
    chmod 444 "$dir/cp.kvr" "$dir/kvr.kvr"
    "$@" cp "$tmp/easy.kvr" "$dir/cp.kvr" 2>/dev/null && copied=1
    err=$("$@" timeout 120 "$kvr" convert "$easy" "$dir/kvr.kvr" 2>&1)
    code=$?
    if ((copied)); then
        cmp -s "$tmp/easy.kvr" "$dir/kvr.kvr" || fail "a read-only file as $who: cp replaces it, kvr did not ($code $err)"
    else
        exactly "a read-only file as $who" "3 kvr: $dir/kvr.kvr: Permission denied old" "$code $err $(tr -c 'a-z\n' '?' <"$dir/kvr.kvr")"
    fi
}
read_only_case "$(id -un)"
if [ "$(id -u)" = 0 ] && setpriv --reuid=nobody --regid=nogroup --clear-groups "$kvr" --version >/dev/null 2>&1; then
    read_only_case nobody setpriv --reuid=nobody --regid=nogroup --clear-groups
elif [ "$(id -u)" = 0 ]; then
    echo "skipped: a read-only file as an unprivileged user (setpriv cannot run kvr as nobody)" >&2
fi

# Ended by a signal while it replaces a file, kvr leaves the old file and no hidden file beside
# it. strace sends the signal as kvr makes the new file durable.
if strace -f -o /dev/null -e trace=fsync true 2>/dev/null; then
    for signal in INT TERM HUP; do
        dir=$tmp/signal && rm -rf "$dir" && mkdir "$dir" && cp "$tmp/easy.kvr" "$dir/old.kvr"
        # The shell's word on how the run ended is left out.
        code=$({ timeout 120 strace -f -o /dev/null -e trace=fsync -e inject=fsync:signal="$signal" \
            "$kvr" convert "$easy_solution" "$dir/old.kvr"; echo $?; } 2>/dev/null)
        exactly "SIG$signal while replacing" "$((128 + $(kill -l "$signal"))) old.kvr" "$code $(shopt -s dotglob && cd "$dir" && echo *)"
        cmp -s "$tmp/easy.kvr" "$dir/old.kvr" || fail "SIG$signal while replacing: the old file changed"
    done
else
    echo "skipped: a signal while replacing a file (strace cannot trace here)" >&2
fi

# Input that cannot be read is named, with the system's reason.
in=/ run solve -
exactly 'standard input a folder' "2 kvr: standard input: Is a directory$nl" "$code $err"
timed show - <&- 2>"$tmp/err"
exactly 'standard input closed' '2 kvr: standard input: Bad file descriptor' "$? $(<"$tmp/err")"
run check /
exactly 'an argument a folder' "2 kvr: /: Is a directory$nl" "$code $err"
run show "$(dots 80)"
exactly 'a line of the wrong length' "2 kvr: puzzle line: a puzzle line has 81 characters, this one has 80$nl" "$code $err"
run show /dev/null
exactly 'an empty file' "2 kvr: /dev/null: holds no puzzle line$nl" "$code $err"
for bytes in '1 byte' '10 bytes'; do
    head -c "${bytes% *}" /dev/zero >"$tmp/short.kvr"
    run show "$tmp/short.kvr"
    exactly "a .kvr file of $bytes" "2 kvr: $tmp/short.kvr: not a puzzle file: it holds $bytes, a puzzle needs 243$nl" "$code $err"
done
# A byte-order mark before the first line, as some editors save it, is no part of the line.
printf '\xEF\xBB\xBF%s\r\n' "$easy" >"$tmp/marked.txt"
run show "$tmp/marked.txt"
expect 'a file with a byte-order mark' 0 '| 5 3 . | . 7 . | . . . |' ''

# A line with no end in sight is refused without waiting for it, and a batch goes on after it.
ones() { head -c "$1" /dev/zero | tr '\0' 1; }
mkfifo "$tmp/long"
(ones 1048576 && exec sleep 60) >"$tmp/long" &
writer=$!
timeout 20 "$kvr" show - <"$tmp/long" 2>"$tmp/err" # standard input is still open
exactly 'a long line' "2 kvr: standard input, line 1: a puzzle line has 81 characters, this one has more than 1024" \
    "$? $(<"$tmp/err")"
kill "$writer" 2>/dev/null; wait "$writer" 2>/dev/null # the writer mostly ends on the broken pipe
# At the limit a line is read (and is no puzzle), one past it is refused; a line far past it
# is skipped across many reads. The byte-order mark is not counted.
{ printf '\xEF\xBB\xBF' && ones 1024 && echo && ones 1024 && echo && ones 1025 && echo && ones 300000 &&
    printf '\n%s\n' "$easy"; } >"$tmp/batch"
in=$tmp/batch run solve -
has='kvr: line %d: a puzzle line has 81 characters, this one has %s\n'
# shellcheck disable=SC2059
exactly 'long lines in a batch' "2 $easy_solution$nl $(printf "$has" 1 1024 2 1024 3 'more than 1024' 4 'more than 1024')$nl" \
    "$code $out $err"

# A .kvr file's solver digits are no givens: a puzzle line leaves them out and says so. Square 1
# keeps its fixed 5; squares 2, 3 and 7 hold a solver's 3, 4 and 8.
half="$tmp/Half Solved.KVR"
timed convert "$easy" "$half"
printf '\3\0\0\4\0\0' | dd of="$half" bs=1 seek=3 conv=notrunc status=none
printf '\10\0\0' | dd of="$half" bs=1 seek=18 conv=notrunc status=none
for all in '' --all; do
    run convert $all "$half" "$tmp/line.txt"
    if [ -n "$all" ]; then
        line=534.7.8..${easy:9} said=''
    else
        line=5...7${easy:5} said="kvr: $half: 3 digits placed by a solver left out; --all keeps them$nl"
    fi
    IFS= read -r -d '' written <"$tmp/line.txt"
    exactly "convert $all" "0 $line$nl $said" "$code $written $err"
    run convert "$tmp/line.txt" - # and the line file reads back
    exactly "convert $all, read back" "$line$nl" "$out"
done

# kvr rate prints the pinned grades and steps of the known puzzles, every one; the table holds
# puzzles with no and with many solutions.
grep -v '^#' "$data/grades.txt" >"$tmp/grades"
cut -d: -f1 "$tmp/grades" >"$tmp/puzzles"
in=$tmp/puzzles run rate -
if [ "$code" != 1 ] || ! cmp -s "$tmp/out" "$tmp/grades"; then
    fail "rate of the known puzzles: status $code; $(diff "$tmp/grades" "$tmp/out")"
fi

# --explain tells every puzzle of standard input, each to its grade and rating.
printf '%s\n' "$easy" "$many" "$easy" >"$tmp/three"
in=$tmp/three run rate --explain -
exactly 'explain every line' "1 2 1" "$code $(grep -c '^grade: easy' "$tmp/out") $(grep -c '^more than one solution' "$tmp/out")"

# A puzzle the basic ladder stalls on, told step by step as JSON and replayed from its givens,
# ends solved: each placement is the solution's digit.
run rate --explain --json "${extreme_puzzle:=...8..25.5...1......9..5.163..29.....7.5.1.3.....37..968.1..4......8...3.34..6...}"
replayed=$extreme_puzzle
while read -r row column digit; do
    i=$(((row - 1) * 9 + column - 1))
    replayed=${replayed:0:i}$digit${replayed:i+1}
done < <(grep -o '"place": \[[^]]*\]*\]' "$tmp/out" | grep -o '\[[0-9], [0-9], [0-9]\]' | tr -d '[],')
exactly 'the extreme puzzle, the end' '"grade": "extreme", "rating": 8.3}' "$(tail -n 1 "$tmp/out" | grep -o '"grade.*')"
run solve "$extreme_puzzle"
exactly 'the extreme puzzle replayed' "$out" "$replayed$nl"

# Of the rating asked for.
run generate --rating 6.5-7.0 --seed 2
cp "$tmp/out" "$tmp/rated"
in=$tmp/rated run rate -
exactly 'a puzzle in the rating range' 1 "$(cut -d: -f4 "$tmp/out" | awk '$1 >= 6.5 && $1 <= 7.0' | wc -l)"

# Distinct, of the grade asked for, the same from the same seed; -o keeps the givens alone.
run generate --difficulty hard -n 6 --seed 11
cp "$tmp/out" "$tmp/hard"
exactly 'distinct hard puzzles' "0 6" "$code $(sort -u "$tmp/hard" | wc -l)"
run generate --difficulty hard -n 6 --seed 11
cmp -s "$tmp/out" "$tmp/hard" || fail 'the same seed gave other puzzles'
in=$tmp/hard run rate -
exactly 'hard puzzles rated' 6 "$(grep -c :hard: "$tmp/out")"
run generate --difficulty expert --seed 5 -o "$tmp/one.kvr"
written=''
while read -r digit flag1 flag2; do
    case "$digit $flag1 $flag2" in
    '0 0 0') written+=. ;;
    [1-9]' 255 255') written+=$digit ;;
    *) written+='?' ;;
    esac
done < <(od -An -v -tu1 -w3 "$tmp/one.kvr")
exactly 'expert puzzle file' "0 243 ${out%"$nl"}" "$code $(stat -c %s "$tmp/one.kvr") $written"

# Batches served as they come: a kvr waiting on its input answers each line before the next is
# written.
for jobs in 1 2; do
    coproc LIVE { timed solve --jobs "$jobs" -; }
    for round in 1 2; do
        printf '%s\n' "$easy" >&"${LIVE[1]}"
        IFS= read -r -t 20 answer <&"${LIVE[0]}" || answer='nothing within 20 s'
        exactly "answer $round of a waiting kvr, --jobs $jobs" "$easy_solution" "$answer"
    done
    eval "exec ${LIVE[1]}>&-"
    wait "$LIVE_PID"
done

# Threads within bounds. Thousands of thread stacks do not fit in 2 GB of address space, so
# --jobs 30000 on one line must start no more than one thread; a thread that cannot start at all
# (stacks of 4 GB) is a failure kvr reports, never an abort. A sanitizer's own reserve needs more
# room than these bounds allow: a kvr that cannot start in them skips these cases.
if { (ulimit -v 2000000 && exec "$kvr" --version >/dev/null); } 2>/dev/null; then
    printf '%s\n' "$easy" "$easy" >"$tmp/two"
    out=$( (ulimit -v 2000000 && exec timeout 120 "$kvr" solve --jobs 30000 - <"$tmp/two" 2>&1))
    exactly '--jobs 30000 in 2 GB' "0 $easy_solution$nl$easy_solution" "$? $out"
    out=$( (ulimit -v 3000000 -s 4000000 && exec timeout 120 "$kvr" solve --jobs 2 - <"$tmp/two" 2>&1))
    exactly 'no thread can start' '2 kvr: Resource temporarily unavailable' "$? $out"
fi

# Started in a folder that holds files named like its libraries, kvr loads the system's: no run
# path of its own may name the working directory.
mkdir "$tmp/planted"
for library in libstdc++.so.6 libm.so.6 libgcc_s.so.1 libc.so.6; do : >"$tmp/planted/$library"; done
out=$(cd "$tmp/planted" && timed --version 2>&1)
exactly 'kvr started among planted libraries' "0 kvr" "$? ${out% *}"

exit $failed
