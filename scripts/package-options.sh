# Sourced: the CMake options of a build the Debian package is packed from, in the array
# package_options (installs dpkg-dev for Debian's build flags when it is missing). Debian's flags
# without their -g: the package's programs are stripped, and the debugging information only made
# the build slower. scripts/package.sh builds with them, and scripts/test.sh configures its
# release build with them too, so that the package test packs the programs the tests ran.
dpkg-query -W -f='${Status}' dpkg-dev 2>/dev/null | grep -q "install ok installed" ||
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout=600 dpkg-dev >/dev/null
# Optimised, with the stack protector, fortified functions, a read-only relocation table bound at
# once, and position-independent programs.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
package_cxxflags=$(echo "$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" | sed 's/\(^\| \)-g\( \|$\)/ /')
package_ldflags=$(dpkg-buildflags --get LDFLAGS)
package_options=(-DMOZIK_DEBIAN_PACKAGE=ON -DCMAKE_INSTALL_PREFIX=/usr
  -DCMAKE_STRIP="$(realpath "$(dirname "${BASH_SOURCE[0]}")/../package/strip.sh")" -DCMAKE_CXX_FLAGS="$package_cxxflags"
  -DCMAKE_EXE_LINKER_FLAGS="$package_ldflags" -DCMAKE_SHARED_LINKER_FLAGS="$package_ldflags"
  -DCMAKE_MODULE_LINKER_FLAGS="$package_ldflags")
