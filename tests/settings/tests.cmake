# Tests of the settings layer: all plain, so all join lookabout_unit_tests.
# Paths start with ${CMAKE_CURRENT_LIST_DIR} because this file is included from tests/.
target_sources(lookabout_unit_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/SettingsFileTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/clsGlobalTests.cpp
)
if(WIN32)
    target_sources(lookabout_unit_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/ReplaceOnWindowsTest.cpp)
endif()
