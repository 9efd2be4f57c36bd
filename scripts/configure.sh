# Sourced by the build scripts. configure BUILD_DIR CMAKE_ARGS... configures BUILD_DIR unless
# an earlier configure of it succeeded; the stamp is written only on success, so whatever a
# failed configure left behind, the next run configures again.
configure() {
    local build=$1; shift
    [ -f "$build/.configured" ] && return 0
    rm -f "$build/.configured"
    cmake -S "$here" -B "$build" "$@" >/dev/null
    touch "$build/.configured"
}
