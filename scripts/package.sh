#!/usr/bin/env bash
# Makes the Debian package, mozik_<version>-1_amd64.deb, and the source tarball, mozik-<version>.tar.xz,
# in OUT-DIR (default: build-package/out): a fresh build of its own in build-package/ (prefix /usr,
# Debian's build flags with all its hardening), packed by CPack from the project's install rules;
# then lintian (installed when missing) on the package, which must report no error and no warning.
# Usage: scripts/package.sh [OUT-DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
source=$PWD
out=$(realpath -m "${1:-build-package/out}")
build="$source/build-package"

scripts/setup.sh
export DEBIAN_FRONTEND=noninteractive
for tool in lintian dpkg-dev; do
  dpkg-query -W -f='${Status}' "$tool" 2>/dev/null | grep -q "install ok installed" ||
    apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout=600 "$tool" >/dev/null
done

# Debian's build flags: optimised, with the stack protector, fortified functions, a read-only
# relocation table bound at once, and position-independent programs.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

echo "== Building in $build"
rm -rf "$build"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DMOZIK_TESTS=OFF -DMOZIK_DEBIAN_PACKAGE=ON \
  -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_STRIP="$source/package/strip.sh" "${launcher[@]}" -DCMAKE_CXX_FLAGS="$cxxflags" \
  -DCMAKE_EXE_LINKER_FLAGS="$ldflags" -DCMAKE_SHARED_LINKER_FLAGS="$ldflags" -DCMAKE_MODULE_LINKER_FLAGS="$ldflags" >/dev/null
cmake --build "$build" -j"$(nproc)" >"$build/build.log" 2>&1 || { tail -n 40 "$build/build.log" >&2; exit 1; }

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
