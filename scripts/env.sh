# Settings Qt WebEngine needs here: no GPU, and no Chromium sandbox when running as root
# (a container's root cannot set the sandbox up).
export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:---disable-gpu}"
if [ "$(id -u)" -eq 0 ]; then
    export QTWEBENGINE_DISABLE_SANDBOX=1
fi
# Chromium's start-up report stays out of the terminal; the user's own rules come later and win.
export QT_LOGGING_RULES="qt.webenginecontext.info=false${QT_LOGGING_RULES:+;$QT_LOGGING_RULES}"
