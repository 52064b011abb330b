# The analysis tests compare the loudness meter with libebur128, a test-only
# dependency.
find_package(PkgConfig REQUIRED)
pkg_check_modules(EBUR128 REQUIRED IMPORTED_TARGET libebur128)

# Without LTO the linker keeps the framework's FLAC and Ogg readers, which need
# the system codec libraries.
if(NOT TARGET PkgConfig::LUMASPAN_CODECS)
    pkg_check_modules(LUMASPAN_CODECS REQUIRED IMPORTED_TARGET flac vorbis vorbisenc vorbisfile ogg)
endif()
