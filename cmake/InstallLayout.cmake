# Installing: `cmake --install build --prefix <dir>` lays the program out as a Linux desktop
# program is laid out, and `cpack -G DEB` in the build folder packs the same tree for /usr:
#   bin/                    kestrova, kestrova-cli
#   share/kestrova/         the read-only data: skin/ (with the group and profile pictures in
#                           skin/icon/) and the built-in profiles/
#   lib/kestrova/vhook/     the video hook modules and their pictures: machine code belongs below
#                           lib/, not in the architecture-independent share/
#   share/applications/     kestrova.desktop
#   share/icons/hicolor/    the program's icon in every drawn size
# The installed program finds its data from its own folder (the relative paths below are built
# into engine/frame/ProgramLayout.cpp) and keeps each user's files in the user's XDG folders, so
# the prefix may be read-only.
include(GNUInstallDirs)
set(KESTROVA_INSTALL_DATA_DIR ${CMAKE_INSTALL_DATADIR}/kestrova)
set(KESTROVA_INSTALL_MODULE_DIR lib/kestrova)

# The install rules lie with what they install (data/*, this folder's Package.cmake for the
# programs and the Debian package).
file(RELATIVE_PATH KESTROVA_DATA_FROM_PROGRAM /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${KESTROVA_INSTALL_DATA_DIR})
file(RELATIVE_PATH KESTROVA_MODULES_FROM_PROGRAM /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${KESTROVA_INSTALL_MODULE_DIR})
