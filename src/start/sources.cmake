# Sources of the start subsystem: plain ones go to lookabout_core, Qt ones to lookabout_ui.
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
    ${CMAKE_CURRENT_LIST_DIR}/ProgramState.cpp ${CMAKE_CURRENT_LIST_DIR}/ProgramState.h
    ${CMAKE_CURRENT_LIST_DIR}/TextRules.cpp ${CMAKE_CURRENT_LIST_DIR}/TextRules.h
)
if(LOOKABOUT_CORE_ONLY)
    return() # the rest needs Qt
endif()
target_sources(lookabout_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/EndSignals.cpp ${CMAKE_CURRENT_LIST_DIR}/EndSignals.h
    ${CMAKE_CURRENT_LIST_DIR}/modStart.cpp ${CMAKE_CURRENT_LIST_DIR}/modStart.h
    ${CMAKE_CURRENT_LIST_DIR}/SingleInstance.cpp ${CMAKE_CURRENT_LIST_DIR}/SingleInstance.h
)
# One running program per folder: the later start reaches the running one through a local socket.
target_link_libraries(lookabout_ui PUBLIC Qt6::Network)
# Is there a display at all, before Qt starts: one file per platform.
target_sources(lookabout_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/DisplayCheck.h)
if(WIN32)
    target_sources(lookabout_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/DisplayCheck_win.cpp)
else()
    target_sources(lookabout_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/DisplayCheck_x11.cpp)
endif()
