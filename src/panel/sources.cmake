# Sources of the panel subsystem: plain ones go to lookabout_core, Qt ones to lookabout_ui.
# Paths start with ${CMAKE_CURRENT_LIST_DIR} because this file is included from src/.
target_sources(lookabout_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/PanelEdits.cpp ${CMAKE_CURRENT_LIST_DIR}/PanelEdits.h
    ${CMAKE_CURRENT_LIST_DIR}/PanelLayout.cpp ${CMAKE_CURRENT_LIST_DIR}/PanelLayout.h
    ${CMAKE_CURRENT_LIST_DIR}/SettingsRowRules.cpp ${CMAKE_CURRENT_LIST_DIR}/SettingsRowRules.h
)
if(LOOKABOUT_CORE_ONLY)
    return() # the rest needs Qt
endif()
target_sources(lookabout_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ctlSettings.cpp ${CMAKE_CURRENT_LIST_DIR}/ctlSettings.h
    ${CMAKE_CURRENT_LIST_DIR}/frmSettings.cpp ${CMAKE_CURRENT_LIST_DIR}/frmSettings.h
    ${CMAKE_CURRENT_LIST_DIR}/PanelLook.cpp ${CMAKE_CURRENT_LIST_DIR}/PanelLook.h
)
