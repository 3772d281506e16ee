#!/usr/bin/env bash
# Installs the build into a prefix of its own (BUILD/install-test/prefix),
# checks what landed there, then builds the README's sample program out of
# tree against it, once through find_package(kelgrid) and once through
# pkg-config, warnings as errors, and runs both on a small SQLite file:
# each must print the file's rows as its grid shows them.
# Usage: install_consumer_test.sh BUILD SOURCE CXX LAUNCHER LIBDIR PLUGINDIR plain|sanitized
set -euo pipefail
build=$1 source=$2 cxx=$3 launcher=$4 libdir=$5 plugindir=$6 kind=$7

if [ "$kind" = sanitized ]; then
  echo "skipped: a program on the instrumented libraries needs the sanitizer runtime first"
  exit 77
fi

work=$build/install-test
prefix=$work/prefix
consumer=$source/tests/install/consumer
fail() { echo "FAIL: $*" >&2; exit 1; }
rm -rf "$work"
mkdir -p "$work"

# The README shows the sample's two files; they must be these very files.
readme_block() {
  awk -v fence='```'"$1" '$0 == fence { on = 1; next } on && $0 == "```" { exit } on { print }' "$source/README.md"
}
diff -u "$consumer/CMakeLists.txt" <(readme_block cmake) ||
  fail "the README's CMake lines differ from tests/install/consumer/CMakeLists.txt"
diff -u "$consumer/grid_sample.cpp" <(readme_block cpp) ||
  fail "the README's program differs from tests/install/consumer/grid_sample.cpp"

cmake --install "$build" --prefix "$prefix" > "$work/install.log" || { cat "$work/install.log"; fail "install"; }

# The libraries with their SONAMEs and a search path that finds each other.
for library in toolkit kelgrid langman safekeep; do
  file=$prefix/$libdir/lib$library.so
  [ -L "$file" ] || fail "no link $file"
  readelf -d "$file" | grep -q "(SONAME).*\[lib$library\.so\.1\]" || fail "SONAME of $file"
  readelf -d "$file" | grep -q '(RUNPATH).*\[\$ORIGIN\]' || fail "RUNPATH of $file"
done
for header in toolkit/data/table.h kelgrid/grid/keldbgrids.h kelgrid/grid/dbgrid_p.h \
  kelgrid/controls/keldblists.h safekeep/langman/languagemanager.h; do
  [ -f "$prefix/include/kelsafe/$header" ] || fail "header $header not installed"
done
for file in cmake/kelgrid/kelgridConfig.cmake cmake/kelgrid/kelgridConfigVersion.cmake \
  pkgconfig/kelgrid.pc pkgconfig/toolkit.pc; do
  [ -f "$prefix/$libdir/$file" ] || fail "$file not installed"
done
# Nothing of the tests, the host or the backup window's inner parts.
leftovers=$(find "$prefix" \( -name '*_tests' -o -name Brivora -o -name '*.a' -o -path '*/backupform/*' \) -print)
[ -z "$leftovers" ] || fail "installed but private: $leftovers"
if [ "$plugindir" != none ]; then
  plugin=$prefix/$plugindir/libkelgridplugin.so
  [ -f "$plugin" ] || fail "Designer plugin not installed"
  ldd "$plugin" | grep -q "libkelgrid\.so\.1 => $prefix/$libdir/" || fail "the plugin does not find libkelgrid: $(ldd "$plugin")"
fi

database=$work/orders.db
python3 - "$database" <<'PY'
import sqlite3, sys
with sqlite3.connect(sys.argv[1]) as db:
    db.execute("CREATE TABLE orders (id INTEGER PRIMARY KEY, customer TEXT, amount INTEGER)")
    db.executemany("INSERT INTO orders VALUES (?, ?, ?)", [(1, "Ruiz", 125), (2, "Abad", 70), (3, "Mora", 3025)])
PY
expected="3 rows; first: 1 | Ruiz | 125"

run_sample() {
  local program=$1 output
  ldd "$program" | grep -q "libkelgrid\.so\.1 => $prefix/$libdir/" || fail "$program does not use the installed library"
  output=$("$program" "$database") || fail "$program failed: $output"
  [ "$output" = "$expected" ] || fail "$program printed '$output', not '$expected'"
}

export CCACHE_BASEDIR=$work CCACHE_NOHASHDIR=1
flags="-Wall -Wextra -Werror"

# 1. CMake: find_package(kelgrid) from the prefix.
cmake -S "$consumer" -B "$work/cmake" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_PREFIX_PATH="$prefix" \
  -DCMAKE_CXX_COMPILER="$cxx" ${launcher:+-DCMAKE_CXX_COMPILER_LAUNCHER="$launcher"} -DCMAKE_CXX_FLAGS="$flags" \
  > "$work/cmake.log" || { cat "$work/cmake.log"; fail "configuring the sample"; }
grep -qx "kelgrid_DIR:PATH=$prefix/$libdir/cmake/kelgrid" "$work/cmake/CMakeCache.txt" ||
  fail "find_package(kelgrid) did not take the installed package"
cmake --build "$work/cmake" || fail "building the sample through find_package"
run_sample "$work/cmake/grid_sample"

# 2. pkg-config: kelgrid.pc, which requires toolkit.pc and Qt's.
export PKG_CONFIG_PATH=$prefix/$libdir/pkgconfig
pkg-config --print-errors --exists 'kelgrid >= 1' || fail "pkg-config finds no kelgrid"
mkdir -p "$work/pkgconfig"
# shellcheck disable=SC2046 # the flags are words
$launcher "$cxx" -std=c++20 -fPIC $flags $(pkg-config --cflags kelgrid) "$consumer/grid_sample.cpp" \
  -o "$work/pkgconfig/grid_sample" $(pkg-config --libs kelgrid) -Wl,-rpath,"$prefix/$libdir" ||
  fail "building the sample through pkg-config"
run_sample "$work/pkgconfig/grid_sample"

rm -rf "$work"
echo "installed package used through find_package and pkg-config"
