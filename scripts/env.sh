# For Qt WebEngine programs started by hand here other than formtide, which sets these itself (the
# tests, formtide-fill, the bench and the previews; CTest gives the tests the same): no Chromium
# sandbox when running as root, where it cannot be set up, and pages rendered in software.
# Usage: . scripts/env.sh
if [ "$(id -u)" -eq 0 ]; then
    export QTWEBENGINE_DISABLE_SANDBOX=1
fi
export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:---disable-gpu}"
