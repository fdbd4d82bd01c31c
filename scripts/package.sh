#!/usr/bin/env bash
# Makes the Debian package: one Release build of the program (and of what it installs,
# nothing else), packed by CPack's DEB generator, then checked with lintian,
# appstreamcli and desktop-file-validate. Prints the package's path last.
#
# Environment:
#   TESK_PACKAGE_BUILD_DIR  build folder (default build-package)
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh dpkg-dev file lintian appstream
build=${TESK_PACKAGE_BUILD_DIR:-build-package}

# Debian's compiler and linker flags with every hardening feature, less the debugging
# information that would be stripped again.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_CXXFLAGS_MAINT_STRIP=-g
cxxflags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)
# The install step builds nothing: the one target below brings everything installed.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESK_BUILD_TESTS=OFF \
    -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON -DCMAKE_CXX_FLAGS="$cxxflags" \
    -DCMAKE_EXE_LINKER_FLAGS="$ldflags" >/dev/null
cmake --build "$build" -j"$(nproc)" --target tesk
rm -f "$build"/tesk_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
package=$(ls "$build"/tesk_*.deb)

dpkg-deb --field "$package"
appstreamcli validate --no-net --pedantic data/org.example.tesk.metainfo.xml
desktop-file-validate data/org.example.tesk.desktop
lintian --fail-on error,warning --display-info "$package"
echo "$package"
