# Tests of the top level: all Qt, so all join lookabout_widget_tests.
# Paths start with ${CMAKE_CURRENT_LIST_DIR} because this file is included from tests/.
target_sources(lookabout_widget_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/modStartTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SingleInstanceTest.cpp
)
