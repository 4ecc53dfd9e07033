#!/usr/bin/env bash
# Configuring, installing, unpacking a newer archive over an older folder and installing for the
# user over an older version's data folder refresh the shipped files and leave the user's files
# byte for byte as they were.
# Usage: keep-user-data.sh CMAKE CPACK SOURCE_DIR BUILD_DIR (a built tree; it is only installed from)
set -euo pipefail
cmake=$1 cpack=$2 src=$3 build=$4
. "$(dirname "$0")/common.sh"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
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
    cmp "$src/data/padok.txt" "${3:-$1}/padok.txt" || fail "$2 did not refresh padok.txt in ${3:-$1}"
}

run "$cmake" -S "$src" -B "$tmp/fresh"
seed "$tmp/fresh/bin"
run "$cmake" "$tmp/fresh"
check "$tmp/fresh/bin" "re-configuring a fresh build"

seed "$tmp/app"
run "$cmake" --install "$build" --component portable --prefix "$tmp/app"
check "$tmp/app" "installing a portable folder"

pack "$cpack" "$build" TGZ "$tmp/pack" "$tmp/log"
archive=$(echo "$tmp"/pack/*.tar.gz)
! tar tzf "$archive" | grep -E '/addedlinks\.txt$|/Info/.' || fail "the archive ships user files (above)"
seed "$tmp/apps/$(basename "$archive" .tar.gz)"
tar xzf "$archive" -C "$tmp/apps"
check "$tmp/apps/$(basename "$archive" .tar.gz)" "unpacking the archive over an older folder"

# An older version installed itself into the data folder and ran from there; the user also keeps
# files of their own there. Installing for the user removes its three programs and nothing else.
home=$tmp/home data=$tmp/home/.local/share/formtide
seed "$data"
mkdir -p "$data/Browser/Default" "$data/notes"
printf 'cookie' >"$data/Browser/Default/Cookies"
printf 'mine\n' >"$data/notes/todo.txt"
for name in formtide formtide-fill start-formtide formtide.desktop formtide.png; do
    printf '#!/bin/sh\n' >"$data/$name"
    chmod +x "$data/$name"
done
cp -a "$data" "$tmp/before"
program=$(HOME=$home XDG_DATA_HOME= "$src/scripts/install-user" "$build" "$tmp/none" 2>"$tmp/log") ||
    { cat "$tmp/log" >&2; fail "install-user over an older version failed"; }
check "$data" "installing for the user over an older version"
shipped='^\./(padok\.txt|formtidehelp\.html|formtide|formtide-fill|start-formtide)$'
diff <(cd "$tmp/before" && find . | grep -Ev "$shipped" | sort) <(cd "$data" && find . | grep -Ev "$shipped" | sort) ||
    fail "installing for the user added or removed the files above in the data folder"
for file in $(cd "$tmp/before" && find . -type f | grep -Ev "$shipped"); do
    cmp "$tmp/before/$file" "$data/$file" || fail "installing for the user changed $file in the data folder"
done
for name in formtide formtide-fill start-formtide; do
    [ ! -e "$data/$name" ] || fail "the older version's $name is still in the data folder"
done
[ "$program" = "$home/.local/bin/formtide" ] && [ -x "$program" ] || fail "install-user printed '$program'"
[ -f "$home/.local/share/applications/com.formtide.formtide.desktop" ] || fail "no menu entry in $home/.local"

# Even older versions ran from the build folder: its user files move to a data folder not made yet.
seed "$tmp/build-bin"
program=$(HOME=$tmp/home2 XDG_DATA_HOME=$tmp/xdg "$src/scripts/install-user" "$build" "$tmp/build-bin" 2>"$tmp/log") ||
    { cat "$tmp/log" >&2; fail "install-user with an older build folder failed"; }
check "$tmp/xdg/formtide" "carrying data over from an older build folder" "$tmp/home2/.local/share/formtide"
echo "install keeps user data: fresh configure, portable install, archive, user install over older versions"
