# Sources of the widgets subsystem: plain ones go to lookabout_core, Qt ones to lookabout_ui.
# Paths start with ${CMAKE_CURRENT_LIST_DIR} because this file is included from src/.
target_sources(lookabout_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/GradientColors.cpp ${CMAKE_CURRENT_LIST_DIR}/GradientColors.h
    ${CMAKE_CURRENT_LIST_DIR}/SliderMath.cpp ${CMAKE_CURRENT_LIST_DIR}/SliderMath.h
    ${CMAKE_CURRENT_LIST_DIR}/Twips.cpp ${CMAKE_CURRENT_LIST_DIR}/Twips.h
    ${CMAKE_CURRENT_LIST_DIR}/VirtualKeys.cpp ${CMAKE_CURRENT_LIST_DIR}/VirtualKeys.h
)
if(LOOKABOUT_CORE_ONLY)
    return() # the rest needs Qt
endif()
target_sources(lookabout_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ctlSlider.cpp ${CMAKE_CURRENT_LIST_DIR}/ctlSlider.h
    ${CMAKE_CURRENT_LIST_DIR}/FitCaptions.cpp ${CMAKE_CURRENT_LIST_DIR}/FitCaptions.h
    ${CMAKE_CURRENT_LIST_DIR}/GradShape.cpp ${CMAKE_CURRENT_LIST_DIR}/GradShape.h
    ${CMAKE_CURRENT_LIST_DIR}/KeyEvents.cpp ${CMAKE_CURRENT_LIST_DIR}/KeyEvents.h
    ${CMAKE_CURRENT_LIST_DIR}/SystemColors.cpp ${CMAKE_CURRENT_LIST_DIR}/SystemColors.h
    ${CMAKE_CURRENT_LIST_DIR}/TwipsGeometry.cpp ${CMAKE_CURRENT_LIST_DIR}/TwipsGeometry.h
)
