# Tests of the widgets subsystem: plain ones join lookabout_unit_tests, Qt ones lookabout_widget_tests.
# Paths start with ${CMAKE_CURRENT_LIST_DIR} because this file is included from tests/.
target_sources(lookabout_unit_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/GradientColorsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SliderMathTest.cpp
)
if(LOOKABOUT_CORE_ONLY)
    return() # the rest needs Qt
endif()
target_sources(lookabout_widget_tests PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/KeyEventsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ctlSliderTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/GradShapeTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FitCaptionsTest.cpp
)
