# The FFmpeg libraries. The engine compiles against their headers only and binds every entry
# point at run time (engine/frame); the tools may link them directly.
find_package(PkgConfig REQUIRED)
pkg_check_modules(LIBAV REQUIRED IMPORTED_TARGET
  libavcodec libavformat libavutil libavfilter libswscale libswresample)

# Headers only: for targets that must not link the libraries.
add_library(kestrova_libav_headers INTERFACE)
target_include_directories(kestrova_libav_headers SYSTEM INTERFACE ${LIBAV_INCLUDE_DIRS})
