# Sourced by scripts/run and scripts/test: installs the Debian packages a step
# needs, once, and says clearly what to do when it cannot.

# need_packages PKG...: installs whichever of PKG are missing.
need_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    echo "solvane: installing ${missing[*]}" >&2
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1; then
            sudo="sudo"
        else
            echo "solvane: these Debian packages are missing: ${missing[*]}" >&2
            echo "solvane: install them as root (apt-get install ${missing[*]}) and run this again." >&2
            exit 1
        fi
    fi
    export DEBIAN_FRONTEND=noninteractive
    if ! $sudo apt-get install -y -qq "${missing[@]}" >/dev/null 2>&1; then
        $sudo apt-get update -qq
        $sudo apt-get install -y -qq "${missing[@]}"
    fi
}

# Packages every build needs.
BUILD_PACKAGES=(build-essential cmake pkg-config libsdl2-dev libx11-dev)

# Parallel build and test jobs: one per core.
build_jobs() { nproc 2>/dev/null || echo 2; }
