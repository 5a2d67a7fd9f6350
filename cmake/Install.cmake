# Installing Lookabout, and its Debian package.
#
# The program reads Lookabout.ini and the pictures from the folder of its executable and writes its settings back
# there, so everything goes into one folder of its own, the install prefix:
#   <prefix>/Lookabout, Lookabout.ini, the bundled pictures, lookabout.sh (the launcher)
# On Linux the desktop learns of it through three more files, placed where the desktop looks for them:
#   <bin>/lookabout                                  a symbolic link to <prefix>/lookabout.sh
#   <share>/applications/lookabout.desktop           the entry of the application menu
#   <share>/icons/hicolor/<size>/apps/lookabout.*    its icon
# <bin> and <share> follow from the prefix when installing (cmake --install build --prefix ...):
#   a prefix in /opt (the default, /opt/lookabout)    /usr/local/bin, /usr/local/share
#   a prefix in your home folder (~/.local/lookabout)  ~/.local/bin, ${XDG_DATA_HOME:-~/.local/share}
#   any other prefix                                  <prefix>/../bin, <prefix>/../share
# The environment variable LOOKABOUT_DESKTOP_ROOT=<dir> chooses <dir>/bin and <dir>/share instead; the Debian
# package uses /usr.

if(UNIX AND NOT APPLE AND CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
    set(CMAKE_INSTALL_PREFIX /opt/lookabout CACHE PATH "The folder Lookabout is installed into" FORCE)
endif()

install(TARGETS Lookabout RUNTIME DESTINATION .)
# The bundled pictures are named once, in data/CMakeLists.txt.
get_directory_property(lookabout_pictures DIRECTORY ${PROJECT_SOURCE_DIR}/data DEFINITION LOOKABOUT_PICTURES)
list(TRANSFORM lookabout_pictures PREPEND ${PROJECT_SOURCE_DIR}/data/ OUTPUT_VARIABLE lookabout_picture_files)
install(FILES ${lookabout_picture_files} DESTINATION .)
# An installed Lookabout.ini holds the user's characters: installing again (an update) keeps it.
install(CODE "
    if(EXISTS \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/Lookabout.ini\")
        message(STATUS \"Kept: \${CMAKE_INSTALL_PREFIX}/Lookabout.ini (your characters)\")
    else()
        file(INSTALL \"${PROJECT_SOURCE_DIR}/data/Lookabout.ini\" DESTINATION \"\${CMAKE_INSTALL_PREFIX}\")
    endif()")

if(UNIX AND NOT APPLE)
    install(PROGRAMS ${PROJECT_SOURCE_DIR}/packaging/lookabout.sh DESTINATION .)
    # The places depend on the prefix given to cmake --install, so they are worked out when installing.
    install(CODE "
        set(LOOKABOUT_SOURCE_DIR \"${PROJECT_SOURCE_DIR}\")
        set(LOOKABOUT_WORK_DIR \"${CMAKE_CURRENT_BINARY_DIR}/desktop-files\")
        include(\"${PROJECT_SOURCE_DIR}/cmake/InstallDesktopFiles.cmake\")")
endif()

# The Debian package: cmake --build build --target package (or cpack in the build folder). On Windows a ZIP of the
# program's folder.
if(WIN32)
    set(CPACK_GENERATOR ZIP)
else()
    set(CPACK_GENERATOR DEB)
endif()
set(CPACK_PACKAGE_NAME lookabout)
set(CPACK_PACKAGE_VENDOR "Lookabout")
set(CPACK_PACKAGE_CONTACT "Lookabout <lookabout@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "faces on the desktop whose eyes follow the mouse")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "A desktop toy: characters in borderless windows cut to the outline of their\n"
    "pictures look at the mouse pointer or at each other, follow it or run away\n"
    "from it. Characters of one's own are made from a BMP or GIF picture with the\n"
    "built-in editor.")
set(CPACK_PACKAGING_INSTALL_PREFIX /opt/lookabout)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# The Qt libraries come from dpkg-shlibdeps (package dpkg-dev); the X11 platform plugin and the GIF reader that Qt
# loads at run time are in libqt6gui6 on Debian 12, which the libraries already pull in, and fontconfig brings a
# font. Fonts are only recommended: the captions fit whatever fonts are installed, and the condensed DejaVu faces
# keep them at their full size where they would not fit otherwise.
find_program(LOOKABOUT_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(LOOKABOUT_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS
        "libqt6widgets6 (>= 6.2), libqt6gui6 (>= 6.2), libqt6core6 (>= 6.2), libxcb1, libxcb-xinput0")
endif()
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, fonts-dejavu-extra")
set(CPACK_STRIP_FILES ON)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/CPackProjectConfig.cmake)
include(CPack)
