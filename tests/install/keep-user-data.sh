#!/usr/bin/env bash
# Configure, build, install and unpacking a newer archive over an older folder refresh the shipped
# files and leave the user's links and profiles byte for byte as they were.
# Usage: keep-user-data.sh CMAKE CPACK SOURCE_DIR BUILD_DIR (a built tree; it is only installed from)
set -euo pipefail
cmake=$1 cpack=$2 src=$3 build=$4
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
run() { "$@" >"$tmp/log" 2>&1 || { local status=$?; cat "$tmp/log" >&2; fail "$* exited with $status"; }; }

printf 'http://links.example/submit.html\r\n' >"$tmp/links"
printf '"Zipper"\r\n"http://zipper.example/pad.xml"\r\n"12"\r\n"34"\r\n"Utilities"\r\n' >"$tmp/profile"
# The user's data, and a stale shipped file that must be refreshed.
seed() {
    mkdir -p "$1/Info"
    cp "$tmp/links" "$1/addedlinks.txt"
    cp "$tmp/profile" "$1/Info/Zipper.txt"
    echo stale >"$1/padok.txt"
}
check() {
    cmp "$tmp/links" "$1/addedlinks.txt" || fail "$2 changed the user's addedlinks.txt in $1"
    cmp "$tmp/profile" "$1/Info/Zipper.txt" || fail "$2 changed the user's Info/Zipper.txt in $1"
    cmp "$src/data/padok.txt" "$1/padok.txt" || fail "$2 did not refresh padok.txt in $1"
}

run "$cmake" -S "$src" -B "$tmp/fresh"
seed "$tmp/fresh/bin"
run "$cmake" "$tmp/fresh"
check "$tmp/fresh/bin" "re-configuring a fresh build"

seed "$tmp/app"
run "$cmake" --install "$build" --component portable --prefix "$tmp/app"
check "$tmp/app" "installing a portable folder"

run "$cpack" -G TGZ --config "$build/CPackConfig.cmake" -B "$tmp/pack"
archive=$(echo "$tmp"/pack/*.tar.gz)
! tar tzf "$archive" | grep -E '/addedlinks\.txt$|/Info/.' || fail "the archive ships user files (above)"
seed "$tmp/apps/$(basename "$archive" .tar.gz)"
tar xzf "$archive" -C "$tmp/apps"
check "$tmp/apps/$(basename "$archive" .tar.gz)" "unpacking the archive over an older folder"
echo "install keeps user data: fresh configure, install, archive"
