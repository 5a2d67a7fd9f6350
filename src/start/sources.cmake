# Sources of the top level: the entry routine, start-up, the end of the program and the wiring
# between the windows. All Qt, so all go to lookabout_ui.
# Paths start with ${CMAKE_CURRENT_LIST_DIR} because this file is included from src/.
if(LOOKABOUT_CORE_ONLY)
    return() # the top level needs Qt
endif()
target_sources(lookabout_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/EndSignals.cpp ${CMAKE_CURRENT_LIST_DIR}/EndSignals.h
    ${CMAKE_CURRENT_LIST_DIR}/modStart.cpp ${CMAKE_CURRENT_LIST_DIR}/modStart.h
    ${CMAKE_CURRENT_LIST_DIR}/SingleInstance.cpp ${CMAKE_CURRENT_LIST_DIR}/SingleInstance.h
    ${CMAKE_CURRENT_LIST_DIR}/InstanceChannel.h
)
# One running program per folder: the later start reaches the running one through a local socket,
# on Linux with the system's calls, elsewhere with QtNetwork's local server.
if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
    target_sources(lookabout_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/InstanceChannel_linux.cpp)
else()
    target_sources(lookabout_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/InstanceChannel_qt.cpp)
    target_link_libraries(lookabout_ui PUBLIC Qt6::Network)
endif()
# Is there a display at all, before Qt starts: one file per platform.
target_sources(lookabout_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/DisplayCheck.h)
if(WIN32)
    target_sources(lookabout_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/DisplayCheck_win.cpp)
else()
    target_sources(lookabout_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/DisplayCheck_x11.cpp)
endif()
