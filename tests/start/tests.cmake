# Tests of the start subsystem: plain ones join lookabout_unit_tests, Qt ones lookabout_widget_tests.
# Paths start with ${CMAKE_CURRENT_LIST_DIR} because this file is included from tests/.
target_sources(lookabout_unit_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/PrivateProfileTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ConfigurationTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/clsGlobalTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/HostileSettingsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KillDuringSaveTest.cpp
)
if(WIN32)
    target_sources(lookabout_unit_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/ReplaceOnWindowsTest.cpp)
endif()
if(LOOKABOUT_CORE_ONLY)
    return() # the rest needs Qt
endif()
target_sources(lookabout_widget_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/modStartTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SingleInstanceTest.cpp
)
