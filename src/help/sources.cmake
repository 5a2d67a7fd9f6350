# Sources of the help subsystem: plain ones go to lookabout_core, Qt ones to lookabout_ui.
# Paths start with ${CMAKE_CURRENT_LIST_DIR} because this file is included from src/.
target_sources(lookabout_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/HelpLayout.cpp ${CMAKE_CURRENT_LIST_DIR}/HelpLayout.h
    ${CMAKE_CURRENT_LIST_DIR}/HelpTexts.cpp ${CMAKE_CURRENT_LIST_DIR}/HelpTexts.h
)
if(LOOKABOUT_CORE_ONLY)
    return() # the rest needs Qt
endif()
target_sources(lookabout_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/frmHelp.cpp ${CMAKE_CURRENT_LIST_DIR}/frmHelp.h
)
