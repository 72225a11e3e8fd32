# host_checks.sh - sourced by the shell tests that run vantorel-host: a fresh
# work folder, problems counted as they are found, one run's outputs kept, and
# the verdict. The test sets $host and $work first.

# A fresh, empty $work, made absolute.
fresh_work() {
    rm -rf "$work"
    mkdir -p "$work" || exit 2
    work=$(cd "$work" && pwd)
    problems=0
}
problem() {
    echo "FAIL: $*"
    problems=$((problems + 1))
}
# run ARGS...: sets rc; stdout to $work/stdout, stderr to $work/stderr.
run() {
    "$host" "$@" >"$work/stdout" 2>"$work/stderr"
    rc=$?
}
# verdict PASS-TEXT: exit 1 with the count when a check failed.
verdict() {
    if [ "$problems" -gt 0 ]; then
        echo "$problems check(s) failed"
        exit 1
    fi
    echo "$1"
}
