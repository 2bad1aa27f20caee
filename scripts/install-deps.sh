#!/usr/bin/env bash
# Installs the Debian 12 packages that building, testing and running Pagora need.
# Idempotent: packages already present are skipped. Works as root or through sudo.
# With --bench it also installs what the benchmark compares against.
set -euo pipefail

packages=(
  # build
  build-essential cmake pkg-config ninja-build
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libcurl4-openssl-dev libhpdf-dev zlib1g-dev
  # tests
  googletest libgtest-dev libcpp-httplib-dev libssl-dev qpdf libjpeg-dev
  xvfb xauth xdotool xclip x11-utils imagemagick
  clang libclang-rt-14-dev
  # packaging: desktop entry and metainfo checks, icon rendering, .deb dependencies
  desktop-file-utils appstream librsvg2-bin dpkg-dev file
  # benchmarks
  libbenchmark-dev
  # runtime
  qt6-qpa-plugins libqt6gui6 libqt6widgets6 xdg-utils
  fonts-wqy-microhei
)

# Only for ./scripts/bench.sh: the command-line way a user would take instead.
bench_packages=(curl img2pdf)

for arg in "$@"; do
  case "$arg" in
    --bench) packages+=("${bench_packages[@]}") ;;
    *) echo "install-deps: unknown option $arg" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all packages present"
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null; then
  as_root=(sudo)
else
  echo "install-deps: need root or sudo to install: ${missing[*]}" >&2
  exit 1
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
