# What the install tests share; sourced, not run.

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# pack CPACK BUILD_DIR GENERATOR OUT_DIR LOG: packs the built tree as it is. For a Makefile build
# CPack would first run its "preinstall" step, a make over the whole tree that also re-configures
# it when stale, while CTest runs other tests from that tree; naming a generator without that
# step (Ninja) leaves the tree alone.
pack() {
    local cpack=$1 build=$2 generator=$3 out=$4 log=$5
    "$cpack" -G "$generator" --config "$build/CPackConfig.cmake" -D CPACK_CMAKE_GENERATOR=Ninja -B "$out" \
        >"$log" 2>&1 || { cat "$log" >&2; fail "cpack -G $generator"; }
    ! grep -i 'preinstall' "$log" || fail "cpack ran a build in $build (above)"
}
