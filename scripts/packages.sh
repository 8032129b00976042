# Sourced by run.sh and test.sh: installs the Debian packages a step needs
# when they are missing (as root, with apt-get), or says which are missing.

missing_packages() {
  local package missing=()
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
      missing+=("$package")
  done
  echo "${missing[@]}"
}

ensure_packages() {
  local missing
  missing=$(missing_packages "$@")
  [ -z "$missing" ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing Debian packages: $missing" >&2
    echo "Run this script as root to install them, or: sudo apt-get install $missing" >&2
    exit 1
  fi
  echo "Installing: $missing"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  # shellcheck disable=SC2086
  apt-get install -y -qq --no-install-recommends $missing >/dev/null
}

# What building the reader, the viewer, the dump tool and the tests needs.
# qt6-base-dev brings Qt Widgets, Qt Test and the offscreen platform the
# window tests run on; the fonts give that platform something to draw with.
# The picture decoders are compiled against libpng, libwebp (with
# libwebpdemux) and libheif, and load each when a picture of its kind is
# first decoded; the XMP reader against expat, which it loads when it reads
# its first packet.
BUILD_PACKAGES=(g++ cmake ninja-build pkg-config libjpeg62-turbo-dev zlib1g-dev libexpat1-dev
                nlohmann-json3-dev libgtest-dev locales qt6-base-dev fonts-dejavu-core
                libpng-dev libwebp-dev libheif-dev)

# What the test of the installed files needs on top: the validators of the
# desktop entry and of the AppStream metadata, and man (which brings groff).
INSTALL_CHECK_PACKAGES=(desktop-file-utils appstream man-db)

# What `cpack -G DEB` needs on top: dpkg-shlibdeps, which finds the package's
# library dependencies, and file, with which CPack picks out the programs.
PACKAGE_PACKAGES=(dpkg-dev file)

# What ./test.sh --fuzz needs besides: clang and its libFuzzer runtime.
FUZZ_PACKAGES=(clang libclang-rt-14-dev)

# What tools/screenshot.sh needs on top: a virtual X display.
SCREENSHOT_PACKAGES=(xvfb xauth)

# What ./bench.sh needs on top: Google Benchmark, the two libraries it is
# measured against (linked into the benchmark only), exiv2's own program,
# djpeg and exiftool.
BENCH_PACKAGES=(libbenchmark-dev libexiv2-dev libexif-dev exiv2 libjpeg-turbo-progs libimage-exiftool-perl)
