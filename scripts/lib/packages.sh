# Installs the Debian packages the project needs, only those that are missing.
# Sourced by the quick-start scripts.

# Packages every build needs.
RMT4_BUILD_PACKAGES=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev libhidapi-dev liblo-dev)
# The independent OSC client the automation tests talk to the server with; the
# virtual X server, session bus and AT-SPI bus (with Python's bindings) that the
# screen-reader test reads the window through.
RMT4_TEST_PACKAGES=(liblo-tools xvfb dbus at-spi2-core gir1.2-atspi-2.0 python3-gi)
# The program's window: Qt 6 Widgets and a font with Chinese characters.
RMT4_GUI_PACKAGES=(qt6-base-dev qt6-base-dev-tools libgl-dev fonts-wqy-microhei)
# Building and checking the Debian package and the desktop integration files.
RMT4_PACKAGING_PACKAGES=(dpkg-dev fakeroot file desktop-file-utils appstream lintian)
# clang with its sanitizer and libFuzzer runtimes, for the fuzz targets.
RMT4_FUZZ_PACKAGES=(clang libclang-rt-dev)

rmt4_missing_packages() {
  local package
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
      printf '%s\n' "$package"
    fi
  done
}

rmt4_ensure_packages() {
  local missing
  mapfile -t missing < <(rmt4_missing_packages "$@")
  [ "${#missing[@]}" -eq 0 ] && return 0

  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
      echo "Missing packages: ${missing[*]} (run as root or install sudo)" >&2
      return 1
    fi
    sudo=(sudo)
  fi
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
