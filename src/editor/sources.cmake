# Sources of the editor subsystem: plain ones go to lookabout_core, Qt ones to lookabout_ui.
# Paths start with ${CMAKE_CURRENT_LIST_DIR} because this file is included from src/.
target_sources(lookabout_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/EditorRules.cpp ${CMAKE_CURRENT_LIST_DIR}/EditorRules.h
    ${CMAKE_CURRENT_LIST_DIR}/PickerRules.cpp ${CMAKE_CURRENT_LIST_DIR}/PickerRules.h
)
if(LOOKABOUT_CORE_ONLY)
    return() # the rest needs Qt
endif()
target_sources(lookabout_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ButtonPictures.cpp ${CMAKE_CURRENT_LIST_DIR}/ButtonPictures.h
    ${CMAKE_CURRENT_LIST_DIR}/ctlShape.cpp ${CMAKE_CURRENT_LIST_DIR}/ctlShape.h
    ${CMAKE_CURRENT_LIST_DIR}/frmAdvSet.cpp ${CMAKE_CURRENT_LIST_DIR}/frmAdvSet.h
    ${CMAKE_CURRENT_LIST_DIR}/frmSelCenter.cpp ${CMAKE_CURRENT_LIST_DIR}/frmSelCenter.h
)
