# Sourced by the other scripts: installs the Debian packages the program and
# its tests need when they are missing, or says what to install.

# need_packages PACKAGE...
# A command names everything it needs in one call, so that a fresh machine
# gets one `apt-get update` and one `apt-get install`.
need_packages() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing Debian packages: ${missing[*]}" >&2
        echo "Install them as root:  apt-get install ${missing[*]}" >&2
        exit 1
    fi
    # apt's own lines (fetching, unpacking, setting up) show how far it got.
    echo "Installing missing Debian packages: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    if [ -z "${VOREL_APT_UPDATED:-}" ]; then
        echo "Updating apt's package lists ..."
        apt-get update
        export VOREL_APT_UPDATED=yes
    fi
    apt-get install -y --no-install-recommends "${missing[@]}"
    echo "Installed: ${missing[*]}"
}

# What every build needs; Liberation Sans stands in for Arial, and Qt
# Multimedia plays the plots' sound.
BUILD_PACKAGES=(cmake g++ make qt6-base-dev qt6-multimedia-dev fonts-liberation2)
# The accessibility test runs the program on its own X display and session
# bus, and drives it through AT-SPI with Debian's pyatspi; the sound test
# plays through a PulseAudio server of its own and records what it played.
TEST_PACKAGES=(libgtest-dev desktop-file-utils xvfb dbus at-spi2-core python3-pyatspi
               pulseaudio pulseaudio-utils)

# The browser edition: Emscripten for the core, Node for the build step and
# the browser tests, and three engines to run them in: Debian's Chromium,
# Firefox ESR, and WebKitGTK's MiniBrowser through its WebDriver, which runs
# on an Xvfb display and needs a Spanish locale built from Debian's sources.
WEB_PACKAGES=(emscripten nodejs)
WEB_TEST_PACKAGES=(chromium firefox-esr webkit2gtk-driver xvfb locales)
# The screen reader check hears both front ends through Debian's Orca, in a
# session with a window manager, keys typed through the X server.
SCREEN_READER_PACKAGES=(orca openbox xdotool)
# puppeteer-core drives Debian's Firefox: no npm install fetches a browser.
export PUPPETEER_SKIP_DOWNLOAD=1

# Debian's nodejs comes without npm; other Node packages bring their own.
# Prints the package to add to a need_packages call, if any.
npm_package() {
    command -v npm >/dev/null 2>&1 || echo npm
}

# emcc runs its JavaScript tools with Node, which must find Debian's acorn.
use_emscripten() {
    export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
}
