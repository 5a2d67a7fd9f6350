# Read by cpack before it installs into its staging folder: a package puts the launcher, the menu entry and the
# icon under /usr (see Install.cmake).
set(ENV{LOOKABOUT_DESKTOP_ROOT} /usr)
