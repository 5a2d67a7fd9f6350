# Tests of the start subsystem: plain ones join lookabout_unit_tests, Qt ones lookabout_widget_tests.
# Paths start with ${CMAKE_CURRENT_LIST_DIR} because this file is included from tests/.
target_sources(lookabout_unit_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/SettingsFileTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/clsGlobalTests.cpp
)
target_sources(lookabout_widget_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/modStartTest.cpp
)
