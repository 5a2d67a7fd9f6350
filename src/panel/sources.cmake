# Sources of the panel subsystem: plain ones go to lookabout_core, Qt ones to lookabout_ui.
# Paths start with ${CMAKE_CURRENT_LIST_DIR} because this file is included from src/.
