# The programs' install rules, the install layout built into the program, and the Debian package
# (`cpack -G DEB` in the build folder packs the installed tree for /usr). Included last, when
# every target exists.
target_compile_definitions(kestrova_engine_frame PRIVATE
  KESTROVA_DATA_FROM_PROGRAM="${KESTROVA_DATA_FROM_PROGRAM}/"
  KESTROVA_MODULES_FROM_PROGRAM="${KESTROVA_MODULES_FROM_PROGRAM}/")
install(TARGETS kestrova-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET kestrova)
  install(TARGETS kestrova RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# dpkg-shlibdeps finds the libraries the binaries link (Qt, FreeType and fontconfig for the
# hook modules, the C and C++ run-times); the media libraries are loaded by name at run time and
# never linked, so they are named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrova)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Orvanta)
set(CPACK_PACKAGE_CONTACT "Kestrova maintainers <maintainers@kestrova.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Video and audio converter for downloaded web videos and music")
set(CPACK_PACKAGE_DESCRIPTION
  "Kestrova collects downloaded web videos and audio files (FLV, F4V, MP4, MP3, WMA, WAV) in a
queue, converts each through an output profile for a device or a format (general video and
audio formats, HD, lossless audio, CD/VCD/DVD, portable players, phones, game consoles, flash
video) and runs several conversions at once. kestrova-cli converts on the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libavcodec59, libavformat59, libavutil57, libavfilter8, libswscale6, libswresample4")
# The hooks' text is drawn in a font fontconfig finds.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core")
include(CPack)
