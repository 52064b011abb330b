# The analysis tests compare the loudness meter with libebur128, a test-only
# dependency.
find_package(PkgConfig REQUIRED)
pkg_check_modules(EBUR128 REQUIRED IMPORTED_TARGET libebur128)
