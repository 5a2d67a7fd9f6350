# Tests of the top level (start-up and end of the program): widget tests under Qt's offscreen platform.
# Paths start with ${CMAKE_CURRENT_LIST_DIR} because this file is included from tests/.
if(LOOKABOUT_CORE_ONLY)
    return() # the top level needs Qt
endif()
target_sources(lookabout_widget_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/modStartTest.cpp
)
