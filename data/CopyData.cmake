# Puts the bundled characters next to the program; run at every build by the target lookabout_data.
#   cmake -DSOURCE_DIR=<data folder> -DDEST_DIR=<folder of the executable> -DPICTURES=a.bmp,b.gif -P CopyData.cmake
#
# Pictures are refreshed whenever they differ from the bundled ones. Lookabout.ini is copied only when none is
# there yet: the program writes its characters back into that file on exit, and a rebuild must not throw the
# user's characters away.

foreach(var SOURCE_DIR DEST_DIR PICTURES)
    if(NOT DEFINED ${var} OR "${${var}}" STREQUAL "")
        message(FATAL_ERROR "CopyData.cmake needs -D${var}=...")
    endif()
endforeach()

file(MAKE_DIRECTORY "${DEST_DIR}")

string(REPLACE "," ";" pictures "${PICTURES}")
foreach(picture IN LISTS pictures)
    file(COPY_FILE "${SOURCE_DIR}/${picture}" "${DEST_DIR}/${picture}" ONLY_IF_DIFFERENT)
endforeach()

if(NOT EXISTS "${DEST_DIR}/Lookabout.ini")
    file(COPY_FILE "${SOURCE_DIR}/Lookabout.ini" "${DEST_DIR}/Lookabout.ini")
    message(STATUS "Created ${DEST_DIR}/Lookabout.ini")
endif()
