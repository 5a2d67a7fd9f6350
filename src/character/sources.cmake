# Sources of the character subsystem: plain ones go to lookabout_core, Qt ones to lookabout_ui.
# Paths start with ${CMAKE_CURRENT_LIST_DIR} because this file is included from src/.
target_sources(lookabout_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/Gaze.cpp ${CMAKE_CURRENT_LIST_DIR}/Gaze.h
    ${CMAKE_CURRENT_LIST_DIR}/KeyCommands.cpp ${CMAKE_CURRENT_LIST_DIR}/KeyCommands.h
    ${CMAKE_CURRENT_LIST_DIR}/Motion.cpp ${CMAKE_CURRENT_LIST_DIR}/Motion.h
    ${CMAKE_CURRENT_LIST_DIR}/PictureFile.cpp ${CMAKE_CURRENT_LIST_DIR}/PictureFile.h
    ${CMAKE_CURRENT_LIST_DIR}/Shape.cpp ${CMAKE_CURRENT_LIST_DIR}/Shape.h
)
if(LOOKABOUT_CORE_ONLY)
    return() # the rest needs Qt
endif()
target_sources(lookabout_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/CharacterClock.cpp ${CMAKE_CURRENT_LIST_DIR}/CharacterClock.h
    ${CMAKE_CURRENT_LIST_DIR}/ErrorPicture.cpp ${CMAKE_CURRENT_LIST_DIR}/ErrorPicture.h
    ${CMAKE_CURRENT_LIST_DIR}/frmPic.cpp ${CMAKE_CURRENT_LIST_DIR}/frmPic.h
    ${CMAKE_CURRENT_LIST_DIR}/WindowSystem.h
)
if(WIN32)
    target_sources(lookabout_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/WindowSystem_win.cpp)
else()
    target_sources(lookabout_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/WindowSystem_x11.cpp)
    find_library(LOOKABOUT_XCB_LIBRARY xcb REQUIRED)
    find_library(LOOKABOUT_XCB_XINPUT_LIBRARY xcb-xinput REQUIRED)
    target_link_libraries(lookabout_ui PRIVATE ${LOOKABOUT_XCB_LIBRARY} ${LOOKABOUT_XCB_XINPUT_LIBRARY})
endif()
