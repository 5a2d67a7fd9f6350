# Sources of the editor subsystem: plain ones go to lookabout_core, Qt ones to lookabout_ui.
# Paths start with ${CMAKE_CURRENT_LIST_DIR} because this file is included from src/.
target_sources(lookabout_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/frmAdvSet.cpp ${CMAKE_CURRENT_LIST_DIR}/frmAdvSet.h
)
