#!/usr/bin/env bash
# The installed layout at work. Installed into a temporary prefix and started with a fresh HOME
# and XDG_DATA_HOME, the program names its folders, and a run, ended as a desktop session ends it
# (SIGTERM), changes nothing but the data folder, which it makes for its owner only.
# Usage: run-installed.sh CMAKE BUILD_DIR VERSION
set -euo pipefail
cmake=$1 build=$2 version=$3
tmp=$(mktemp -d)
pid=
trap '[ -z "$pid" ] || kill -KILL "$pid" 2>/dev/null; rm -rf "$tmp"' EXIT
. "$(dirname "$0")/common.sh"

"$cmake" --install "$build" --prefix "$tmp/prefix" >/dev/null
program=$tmp/prefix/bin/formtide
mkdir -p "$tmp/home/xdg-data"
export HOME=$tmp/home
unset XDG_CONFIG_HOME XDG_CACHE_HOME XDG_STATE_HOME
# The program sets what the browser engine needs: as root, Chromium aborts unless it does.
unset QTWEBENGINE_DISABLE_SANDBOX QTWEBENGINE_CHROMIUM_FLAGS
data=$HOME/xdg-data/formtide
# Everything below the temporary folder but the data folder: path, type, mode, size and content.
snapshot() {
    find "$tmp" ! -path "$data" ! -path "$data/*" -printf '%p %y %m %s\n' | sort
    find "$tmp" ! -path "$data/*" -type f -exec md5sum {} + | sort
}
before=$(snapshot)

for case in "$HOME/xdg-data:$data" ":$HOME/.local/share/formtide" "relative:$HOME/.local/share/formtide"; do
    shown=$(XDG_DATA_HOME=${case%%:*} "$program" --version)
    expected=$(printf 'Formtide %s\nData folder: %s\nProgram files: %s' "$version" "${case#*:}" "$tmp/prefix/share/formtide")
    [ "$shown" = "$expected" ] || fail "with XDG_DATA_HOME='${case%%:*}', --version printed: $shown"
done
"$program" --help | grep -qx "Data folder: $HOME/.local/share/formtide" || fail "--help does not name the data folder"

XDG_DATA_HOME=$HOME/xdg-data "$program" &
pid=$!
for _ in $(seq 60); do
    [ ! -d "$data" ] || break
    sleep 0.5
done
sleep 3 # the window comes up and the help page loads meanwhile
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
pid=
[ "$status" -eq 0 ] || fail "formtide ended with status $status on SIGTERM"
[ -d "$data" ] || fail "no data folder $data"
[ "$(stat -c %a "$data")" = 700 ] || fail "the data folder is not for its owner only: $(stat -c %a "$data")"
diff <(echo "$before") <(snapshot) || fail "a run changed the files above outside the data folder"
echo "installed layout: folders shown, a run changes only the data folder"
