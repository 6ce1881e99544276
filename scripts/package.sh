#!/usr/bin/env bash
# Builds the Debian package k4812_VERSION_ARCH.deb and its debug symbols
# k4812-dbgsym_VERSION_ARCH.ddeb into ${PACKAGE_BUILD_DIR:-build-package}/package
# (docs/packaging.md). Install it, as root or with sudo:
#   apt install ./build-package/package/k4812_*.deb
#
# Only what the package ships is built (BUILD_TESTING=OFF: no tests, no
# benchmarks, no fuzzers), with the flags of dpkg-buildflags and
# hardening=+all (cmake/K4812BuildFlags.cmake; the normal build uses them
# too, so the compiler cache serves both). Two builds of one commit give
# identical files: SOURCE_DATE_EPOCH is the time of the last commit, and
# paths are written as "." into the programs (scripts/check-reproducible.sh
# checks it). K4812_SKIP_DEPS=1 skips scripts/install-deps.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
[ "${K4812_SKIP_DEPS:-}" = 1 ] || scripts/install-deps.sh
build_dir=${PACKAGE_BUILD_DIR:-build-package}

SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || date +%s)}
export SOURCE_DATE_EPOCH

launcher=()
if command -v ccache >/dev/null; then
  # Paths below the checkout are hashed relative to it, so other checkouts share the cache.
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" \
  -DBUILD_TESTING=OFF -DK4812_BUILD_TESTS=OFF -DK4812_BUILD_BENCHMARKS=OFF -DK4812_FUZZ=OFF \
  -DK4812_HARDENING=ON >/dev/null
cmake --build "$build_dir" -j "$(nproc)"
rm -rf "$build_dir/package"
cpack --config "$build_dir/CPackConfig.cmake" -B "$build_dir/package" >"$build_dir/cpack.log" \
  || { cat "$build_dir/cpack.log" >&2; exit 1; }
rm -rf "$build_dir/package/_CPack_Packages"
# CMake 3.25 writes its staging folder's absolute paths into the -dbgsym
# package's md5sums, where dpkg expects paths below the root (and the package
# would differ with the folder): repacked with the paths made relative.
for ddeb in "$build_dir"/package/*.ddeb; do
  [ -e "$ddeb" ] || continue
  tree=$build_dir/package/dbgsym-tree
  rm -rf "$tree"
  dpkg-deb -R "$ddeb" "$tree"
  sed -i -E 's#^([0-9a-f]+  )/.*-dbgsym/#\1#' "$tree/DEBIAN/md5sums"
  dpkg-deb --root-owner-group --build "$tree" "$ddeb" >/dev/null
  rm -rf "$tree"
done
ls "$build_dir"/package/k4812*.*deb
