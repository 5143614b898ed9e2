#!/usr/bin/env bash
# Sets up Dero Video Converter on Debian 12.
#   bash setup.sh start   install what is needed, build, start the converter
#   bash setup.sh test    install what is needed, build, run every test (plain and sanitized),
#                         and install, run and purge the Debian package (as root)
#   bash setup.sh package install what is needed, build, make the Debian package in build-package/
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(
    build-essential cmake ninja-build pkg-config git
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
    libavformat-dev libavcodec-dev libavfilter-dev libswscale-dev libswresample-dev libavutil-dev
    libmpv-dev libjpeg62-turbo-dev
    googletest libgtest-dev libgmock-dev
    ffmpeg xvfb xauth xdotool imagemagick python3 fonts-dejavu-core fonts-wine dbus-daemon
    file dpkg-dev lintian appstream desktop-file-utils
    openbox x11-utils at-spi2-core python3-pyatspi
    qt6-wayland weston
)

install_packages() {
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${PACKAGES[@]}"
}

build() {
    local dir="$1"; shift
    cmake -S . -B "$dir" -G Ninja "$@"
    cmake --build "$dir" -j2
}

run_tests() {
    local dir="$1"
    (cd "$dir" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2)
}

case "${1:-}" in
    start)
        install_packages
        build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
        exec build/bin/dero-video-converter
        ;;
    test)
        install_packages
        build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
        run_tests build
        # Installs the package with apt-get and purges it again (as root; skipped otherwise).
        bash tests/install/check-package.sh build
        build build-asan -DCMAKE_BUILD_TYPE=Debug -DDERO_SANITIZE=ON -DDERO_BENCH=OFF
        export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
        export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
        export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
        run_tests build-asan
        ;;
    package)
        install_packages
        # Debian's build flags with every hardening feature: fortified functions, stack
        # protector, relocations made read-only and bound at start.
        export DEB_BUILD_MAINT_OPTIONS=hardening=+all
        cppflags=$(dpkg-buildflags --get CPPFLAGS)
        build build-package -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDERO_TESTS=OFF -DDERO_BENCH=OFF \
            -DCMAKE_C_FLAGS="$cppflags $(dpkg-buildflags --get CFLAGS)" \
            -DCMAKE_CXX_FLAGS="$cppflags $(dpkg-buildflags --get CXXFLAGS)" \
            -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
            -DCMAKE_SHARED_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
        (cd build-package && cpack -G DEB)
        ;;
    *)
        echo "usage: bash setup.sh start|test|package" >&2
        exit 2
        ;;
esac
