# Tests of the character subsystem: plain ones join lookabout_unit_tests, Qt ones lookabout_widget_tests.
# Paths start with ${CMAKE_CURRENT_LIST_DIR} because this file is included from tests/.
target_sources(lookabout_unit_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/GazeTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KeyCommandsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MotionTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PictureBytes.h
    ${CMAKE_CURRENT_LIST_DIR}/PictureFileTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ShapeTest.cpp
)
if(LOOKABOUT_CORE_ONLY)
    return() # the rest needs Qt
endif()
target_sources(lookabout_widget_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/CharacterTestSupport.h
    ${CMAKE_CURRENT_LIST_DIR}/frmPicTest.cpp
)
