#!/usr/bin/env bash
# Proof that the test suite still catches these faults after changes to the
# tests or to the engine around them. Each line of faults.txt is one small
# deliberate fault: a Perl substitution in one source file, and the tests
# expected to catch it. For each, this script applies the substitution,
# rebuilds the test program, runs the tests and expects them to fail. The
# source file is always put back (also on Ctrl+C), and at the end the build
# is brought back to the clean source.
#
# Usage: tools/faults/check.sh [--all] [SOURCE_DIR] [BUILD_DIR]
#   --all       run the whole test program for each fault, not its filter
#   SOURCE_DIR  the repository (default: the one holding this script)
#   BUILD_DIR   its configured Ninja build folder (default: SOURCE_DIR/build)
#
# Exits non-zero when a fault was missed, matched other than exactly one
# place, or did not build. Logs of every build and run are kept in a
# temporary folder, named at the end.

set -u

all=0
if [[ ${1:-} == --all ]]; then
    all=1
    shift
fi
here=$(cd "$(dirname "$0")" && pwd)
src=$(cd "${1:-$here/../..}" && pwd) || exit 2
build=$(cd "${2:-$src/build}" && pwd) || exit 2
list=$here/faults.txt
seconds=300
logs=$(mktemp -d "${TMPDIR:-/tmp}/faults.XXXXXX")

# The file under change and the copy of its clean text.
target=
backup=
restore() {
    if [[ -n $backup ]]; then
        # Written anew, not moved back: the fresh time stamp makes Ninja
        # rebuild from the clean text.
        cat "$backup" >"$target"
        rm -f "$backup"
        backup=
    fi
}
# The running test program's process group (timeout leads one of its own,
# so a test program that catches Ctrl+C, as SDL does, still stops).
child=
stop_tests() {
    if [[ -n $child ]]; then
        kill -KILL -- "-$child" 2>/dev/null || kill -KILL "$child" 2>/dev/null
        child=
    fi
}
trap restore EXIT
trap 'stop_tests; restore; echo "interrupted; every source file is back as it was" >&2; exit 130' \
    INT TERM HUP

# Prints file $1 with substitution $2 applied; fails unless it matches
# exactly one place.
mutate() {
    SUB=$2 perl -0777 -ne '
        my $copy = $_;
        my $n = eval "\$copy =~ $ENV{SUB}g";
        die "bad substitution: $@" if $@;
        $n ||= 0;
        if ($n != 1) { print STDERR "the substitution matches $n places\n"; exit 2 }
        eval "\$_ =~ $ENV{SUB}";
        print;' "$1"
}

rebuild() {
    ninja -C "$build" -j2 cloudmere_tests >"$1" 2>&1
}

# Runs the tests with gtest filter $1 (empty: all of them, briefly); the
# output goes to $2, the exit status is the test program's.
run_tests() {
    local args=(--gtest_brief=1)
    [[ -n $1 ]] && args=("--gtest_filter=$1")
    (cd "$build/tests" &&
        exec env SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy \
            timeout -k 10 "$seconds" ./cloudmere_tests "${args[@]}") >"$2" 2>&1 &
    child=$!
    wait "$child"
    local status=$?
    child=
    return "$status"
}

failed_tests() {
    sed -nE 's/^\[  FAILED  \] ([A-Za-z0-9_/]+\.[A-Za-z0-9_/]+).*/\1/p' "$1" | sort -u | paste -sd' '
}

ids=() results=() details=() filters=()
while IFS='|' read -r id file sub filter desc; do
    [[ -z $id || $id == \#* ]] && continue
    ids+=("$id") filters+=("$filter")
done <"$list"

# The suite must pass on the clean source, or a failure proves nothing.
echo "== clean build and run"
if ! rebuild "$logs/clean.build"; then
    tail -20 "$logs/clean.build"
    echo "the clean source does not build" >&2
    exit 2
fi
clean_filter=$(IFS=:; echo "${filters[*]}")
((all)) && clean_filter=
if ! run_tests "$clean_filter" "$logs/clean.test"; then
    echo "the tests fail on the clean source: $(failed_tests "$logs/clean.test")" >&2
    exit 2
fi

k=0
while IFS='|' read -r -u 3 id file sub filter desc; do
    [[ -z $id || $id == \#* ]] && continue
    echo "== $id $file: $desc"
    target=$src/$file
    result= detail=
    if [[ ! -f $target ]]; then
        result=NOFILE detail="no such file"
    elif ! mutate "$target" "$sub" >"$logs/$id.mutant" 2>"$logs/$id.apply"; then
        result=NOAPPLY detail=$(head -1 "$logs/$id.apply")
    else
        backup=$(mktemp)
        cp "$target" "$backup"
        cat "$logs/$id.mutant" >"$target"
        if ! rebuild "$logs/$id.build"; then
            result=NOBUILD detail="see $logs/$id.build"
        else
            ((all)) && filter=
            run_tests "$filter" "$logs/$id.test"
            status=$?
            if ((status == 0)); then
                result=MISSED detail="the tests passed"
                grep -q '^\[==========\] Running 0 tests' "$logs/$id.test" &&
                    detail="no test matches the filter"
            elif ((status == 124 || status == 137)); then
                result=CAUGHT detail="timed out after ${seconds} s"
            else
                result=CAUGHT detail=$(failed_tests "$logs/$id.test")
                [[ -z $detail ]] && detail="crashed (exit status $status)"
            fi
        fi
        restore
    fi
    echo "   $result $detail"
    results[k]=$result details[k]=$detail
    k=$((k + 1))
done 3<"$list"

echo "== rebuilding the clean source"
rebuild "$logs/final.build" || echo "the final clean build failed: see $logs/final.build" >&2

bad=0
printf '\n%-4s %-8s %s\n' ID RESULT DETAIL
for ((i = 0; i < ${#ids[@]}; ++i)); do
    printf '%-4s %-8s %s\n' "${ids[i]}" "${results[i]}" "${details[i]}"
    [[ ${results[i]} == CAUGHT ]] || bad=$((bad + 1))
done
echo
echo "$((${#ids[@]} - bad)) of ${#ids[@]} faults caught; logs in $logs"
((bad == 0))
