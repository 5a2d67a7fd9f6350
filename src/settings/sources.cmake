# Sources of the settings layer: the settings file, the character record, the program state and the
# hub. All plain, so all go to lookabout_core; no Qt file belongs in this folder.
# Paths start with ${CMAKE_CURRENT_LIST_DIR} because this file is included from src/.
target_sources(lookabout_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/AtomicFile.cpp ${CMAKE_CURRENT_LIST_DIR}/AtomicFile.h
    ${CMAKE_CURRENT_LIST_DIR}/CharacterKeys.cpp ${CMAKE_CURRENT_LIST_DIR}/CharacterKeys.h
    ${CMAKE_CURRENT_LIST_DIR}/CharacterRecord.h
    ${CMAKE_CURRENT_LIST_DIR}/clsGlobal.cpp ${CMAKE_CURRENT_LIST_DIR}/clsGlobal.h
    ${CMAKE_CURRENT_LIST_DIR}/Configuration.cpp ${CMAKE_CURRENT_LIST_DIR}/Configuration.h
    ${CMAKE_CURRENT_LIST_DIR}/IniText.cpp ${CMAKE_CURRENT_LIST_DIR}/IniText.h
    ${CMAKE_CURRENT_LIST_DIR}/PixelRect.h
    ${CMAKE_CURRENT_LIST_DIR}/PrivateProfile.cpp ${CMAKE_CURRENT_LIST_DIR}/PrivateProfile.h
    ${CMAKE_CURRENT_LIST_DIR}/ProgramActions.h
    ${CMAKE_CURRENT_LIST_DIR}/ProgramState.cpp ${CMAKE_CURRENT_LIST_DIR}/ProgramState.h
    ${CMAKE_CURRENT_LIST_DIR}/Rounding.h
    ${CMAKE_CURRENT_LIST_DIR}/TextRules.cpp ${CMAKE_CURRENT_LIST_DIR}/TextRules.h
)
