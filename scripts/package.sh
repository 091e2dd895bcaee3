#!/usr/bin/env bash
# Makes the Debian package, mozik_<version>-1_amd64.deb, and the source tarball, mozik-<version>.tar.xz,
# in OUT-DIR (default: build-package/out): a fresh build of its own in build-package/ (prefix /usr,
# Debian's build flags with all its hardening), packed by CPack from the project's install rules;
# then lintian (installed when missing) on the package, which must report no error and no warning.
# With --from BUILD it packs a build already configured the package's way (scripts/test.sh's),
# brought up to date, instead.
# Usage: scripts/package.sh [--from BUILD] [OUT-DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
source=$PWD
from=""
if [ "${1:-}" = --from ]; then
  from=$(realpath "$2")
  shift 2
fi
out=$(realpath -m "${1:-build-package/out}")
build=${from:-$source/build-package}

scripts/setup.sh
export DEBIAN_FRONTEND=noninteractive
dpkg-query -W -f='${Status}' lintian 2>/dev/null | grep -q "install ok installed" ||
  apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout=600 lintian >/dev/null
source scripts/package-options.sh

if [ -n "$from" ]; then
  grep -q '^MOZIK_DEBIAN_PACKAGE:BOOL=ON$' "$build/CMakeCache.txt" && grep -q '^CMAKE_INSTALL_PREFIX:PATH=/usr$' "$build/CMakeCache.txt" ||
    { echo "$build is not configured for the package (scripts/package-options.sh)" >&2; exit 1; }
  echo "== Bringing $build up to date"
else
  echo "== Building in $build"
  rm -rf "$build"
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DMOZIK_TESTS=OFF "${package_options[@]}" "${launcher[@]}" >/dev/null
fi
cmake --build "$build" -j"$(nproc)" >"$build/package-build.log" 2>&1 || { tail -n 40 "$build/package-build.log" >&2; exit 1; }

echo "== Packing"
mkdir -p "$out"
(cd "$build" && cpack -G DEB -B "$out/cpack" >/dev/null && cpack --config CPackSourceConfig.cmake -B "$out/cpack" >/dev/null)
version=$(sed -n 's/^#define MOZIK_VERSION "\(.*\)"/\1/p' "$build/generated/MozikVersion.h")
deb="$out/mozik_${version}-1_$(dpkg --print-architecture).deb"
mv "$out/cpack/$(basename "$deb")" "$deb"
mv "$out/cpack/mozik-$version.tar.xz" "$out/"
rm -rf "$out/cpack"
ls -l "$deb" "$out/mozik-$version.tar.xz" | awk '{print $5, $9}'
dpkg-deb --field "$deb" Package Version Section Priority Maintainer Installed-Size Depends

echo "== lintian"
# Tags of every severity, each with its explanation; an error or a warning fails the package.
lintian --info --display-level '>=pedantic' --display-experimental "$deb" >"$out/lintian.txt" 2>&1 || true
cat "$out/lintian.txt"
if grep -qE '^[EW]: ' "$out/lintian.txt"; then
  echo "lintian reports errors or warnings" >&2
  exit 1
fi
echo "lintian: no error, no warning ($(grep -cE '^[IPX]: ' "$out/lintian.txt" || true) informational tags)"
echo "Package: $deb"
