# Sourced by run.sh and test.sh: the Debian packages Quarvel needs, and a
# function that installs those not installed yet (apt-get update runs only
# when something is missing, so a prepared machine starts at once).

# libwmf-dev: plays Windows metafiles found while browsing.
QUARVEL_BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-svg-dev libgl-dev
                        libwmf-dev libgtest-dev libbenchmark-dev)
# qt6-qpa-plugins: the X11/Wayland window system plug-ins, only recommended by Qt;
# qt6-translations-l10n: Qt's own texts (standard dialogs) in Russian.
QUARVEL_RUN_PACKAGES=(qt6-qpa-plugins qt6-translations-l10n)
# libwmf-bin and python3-ezdxf: independent metafile and DXF readers for the
# export tests; clang and its run time: the libFuzzer targets.
QUARVEL_TEST_PACKAGES=(libwmf-bin python3-ezdxf clang libclang-rt-dev)
# The Debian package check (scripts/package-check.sh): lintian, the desktop
# entry and AppStream validators, the MIME database and its query tools,
# manual pages, a virtual X server, and dpkg-shlibdeps for CPack.
QUARVEL_PACKAGE_CHECK_PACKAGES=(lintian desktop-file-utils appstream shared-mime-info xdg-utils
                                libfile-mimeinfo-perl man-db xvfb xauth dpkg-dev)
QUARVEL_TEST_PACKAGES+=("${QUARVEL_PACKAGE_CHECK_PACKAGES[@]}")
# The Windows build and its checks under Wine (scripts/windows.sh): the
# mingw-w64 cross compiler, zlib for it, GoogleTest's sources, Wine, a virtual
# X server, NSIS for the setup program, zip, Qt's translations; building Qt
# for Windows from source (when the prepared copy is missing) needs
# dpkg-dev for apt-get source.
QUARVEL_WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix libz-mingw-w64-dev googletest wine wine64 xvfb xauth
                          nsis zip qt6-translations-l10n dpkg-dev)
QUARVEL_TEST_PACKAGES+=("${QUARVEL_WINDOWS_PACKAGES[@]}")

quarvel_install_missing() {
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
            || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "== Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq || return 1
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}"
}

# Configures a build folder with extra CMake arguments; a folder configured
# before is reused as it is (ninja re-runs CMake when the project changed).
quarvel_configure() {
    local dir=$1
    shift
    [ -f "$dir/build.ninja" ] && return 0
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
}
