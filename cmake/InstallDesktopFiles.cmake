# Run by cmake --install (and cpack): the launcher link, the menu entry and the icon, in the places that follow
# from the install prefix (see Install.cmake). Expects LOOKABOUT_SOURCE_DIR and LOOKABOUT_WORK_DIR.

set(prefix "${CMAKE_INSTALL_PREFIX}")
string(REGEX REPLACE "/+$" "" prefix "${prefix}")
set(home "$ENV{HOME}")
string(REGEX REPLACE "/+$" "" home "${home}")

string(FIND "${prefix}/" "${home}/" in_home)

if(NOT "$ENV{LOOKABOUT_DESKTOP_ROOT}" STREQUAL "")
    set(bin_dir "$ENV{LOOKABOUT_DESKTOP_ROOT}/bin")
    set(share_dir "$ENV{LOOKABOUT_DESKTOP_ROOT}/share")
elseif(prefix MATCHES "^/opt/")
    set(bin_dir /usr/local/bin)
    set(share_dir /usr/local/share)
elseif(NOT home STREQUAL "" AND in_home EQUAL 0)
    set(bin_dir "${home}/.local/bin")
    if(NOT "$ENV{XDG_DATA_HOME}" STREQUAL "")
        set(share_dir "$ENV{XDG_DATA_HOME}")
    else()
        set(share_dir "${home}/.local/share")
    endif()
else()
    get_filename_component(parent "${prefix}" DIRECTORY)
    set(bin_dir "${parent}/bin")
    set(share_dir "${parent}/share")
endif()

set(launcher "${prefix}/lookabout.sh")

# The link is made in a work folder and installed from there, so DESTDIR and the install manifest apply to it. One
# work folder per destination: two installs of one build into different places may run at once.
string(MD5 destination "$ENV{DESTDIR}|${prefix}|${bin_dir}|${share_dir}")
set(work "${LOOKABOUT_WORK_DIR}/${destination}")
file(MAKE_DIRECTORY "${work}")
file(REMOVE "${work}/lookabout")
file(CREATE_LINK "${launcher}" "${work}/lookabout" SYMBOLIC)
file(INSTALL "${work}/lookabout" DESTINATION "${bin_dir}")

# The menu runs the launcher by its full path: ~/.local/bin is on PATH only from the next login on.
file(READ "${LOOKABOUT_SOURCE_DIR}/packaging/lookabout.desktop.in" entry)
string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" quoted "${launcher}")
string(REPLACE "@LAUNCHER@" "\"${quoted}\"" entry "${entry}")
file(WRITE "${work}/lookabout.desktop" "${entry}")
file(INSTALL "${work}/lookabout.desktop" DESTINATION "${share_dir}/applications")

file(INSTALL "${LOOKABOUT_SOURCE_DIR}/packaging/icons/hicolor" DESTINATION "${share_dir}/icons")

message(STATUS "The command: ${bin_dir}/lookabout; the menu entry: ${share_dir}/applications/lookabout.desktop")
