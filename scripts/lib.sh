# Shared by the project's scripts: install what is missing, configure, build.
# shellcheck shell=bash

repo_root() { cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd; }

# Packages listed in the file given (default scripts/packages.txt) that dpkg does not report installed.
missing_packages() {
  local list=${1:-"$(repo_root)/scripts/packages.txt"} pkg
  sed -e 's/#.*//' -e 's/[[:space:]]//g' "$list" | while read -r pkg; do
    [ -z "$pkg" ] && continue
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || echo "$pkg"
  done
}

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_missing_packages() {
  local missing
  missing=$(missing_packages "$@")
  [ -z "$missing" ] && return 0
  echo "Installing: $missing" >&2
  as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q
  # shellcheck disable=SC2086
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
}

# configure_and_build BUILD_DIR [extra cmake arguments...]
configure_and_build() {
  local dir=$1; shift
  cmake -S "$(repo_root)" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
  cmake --build "$dir" --parallel "$(nproc)"
}
