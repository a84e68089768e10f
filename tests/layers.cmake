# SPDX-License-Identifier: MIT
cmake_policy(SET CMP0057 NEW)  # IN_LIST
# The layers, arrows only downward: app/ and windows/ above conversions/
# above core/. Fails when a file in core/ or conversions/ includes a widget
# or GUI header, or a file includes from a layer above its own.
#   cmake -DROOT=<source dir> -DWIDGETS=<QtWidgets include dir> -DGUI=<QtGui include dir> -P layers.cmake
file(GLOB widget_headers RELATIVE ${WIDGETS} ${WIDGETS}/*)
file(GLOB gui_headers RELATIVE ${GUI} ${GUI}/*)
set(forbidden_qt ${widget_headers} ${gui_headers})

set(above_core conversions windows app)
set(above_conversions windows app)
set(failures "")
foreach(layer core conversions)
    file(GLOB_RECURSE sources ${ROOT}/${layer}/*.h ${ROOT}/${layer}/*.cpp)
    foreach(source ${sources})
        file(STRINGS ${source} includes REGEX "^#include")
        foreach(line ${includes})
            string(REGEX REPLACE "^#include [<\"]([^>\"]+)[>\"].*" "\\1" header "${line}")
            get_filename_component(name ${header} NAME)
            if(header MATCHES "^(QtWidgets|QtGui)/" OR name IN_LIST forbidden_qt)
                list(APPEND failures "${source}: ${header} is a widget or GUI header")
            endif()
            string(REGEX MATCH "^[a-z]+/" folder "${header}")
            string(REPLACE "/" "" folder "${folder}")
            if(folder AND folder IN_LIST above_${layer})
                list(APPEND failures "${source}: ${header} is in a layer above ${layer}/")
            endif()
        endforeach()
    endforeach()
endforeach()
if(failures)
    list(JOIN failures "\n" text)
    message(FATAL_ERROR "${text}")
endif()
message(STATUS "core/ and conversions/ include no widget header and nothing from above")
