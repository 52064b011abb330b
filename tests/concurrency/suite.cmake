# Without LTO (debug and sanitizer builds) the linker keeps the framework's
# FLAC and Ogg readers, which need the system codec libraries.
find_package(PkgConfig REQUIRED)
if(NOT TARGET PkgConfig::LUMASPAN_CODECS)
    pkg_check_modules(LUMASPAN_CODECS REQUIRED IMPORTED_TARGET flac vorbis vorbisenc vorbisfile ogg)
endif()
