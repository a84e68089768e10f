# SPDX-License-Identifier: MIT
cmake_policy(SET CMP0057 NEW)  # IN_LIST
# The layers, arrows only downward, lowest first:
#   core/ < engine/ < topics/ < conversions/ < practice/ < windows/ < app/
# Fails when a file below windows/ includes a widget or GUI header, or a
# file includes from a layer above its own.
#   cmake -DROOT=<source dir> -DWIDGETS=<QtWidgets include dir> -DGUI=<QtGui include dir> -P layers.cmake
file(GLOB widget_headers RELATIVE ${WIDGETS} ${WIDGETS}/*)
file(GLOB gui_headers RELATIVE ${GUI} ${GUI}/*)
set(forbidden_qt ${widget_headers} ${gui_headers})

set(layers core engine topics conversions practice windows app)
set(without_widgets core engine topics conversions practice)
set(failures "")
foreach(layer ${without_widgets})
    list(FIND layers ${layer} rank)
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
            list(FIND layers "${folder}" included)
            if(folder AND included GREATER rank)
                list(APPEND failures "${source}: ${header} is in a layer above ${layer}/")
            endif()
        endforeach()
    endforeach()
endforeach()
# The windows include nothing from the program's start.
file(GLOB_RECURSE sources ${ROOT}/windows/*.h ${ROOT}/windows/*.cpp)
foreach(source ${sources})
    file(STRINGS ${source} includes REGEX "^#include \"app/")
    if(includes)
        list(APPEND failures "${source}: includes from app/, a layer above windows/")
    endif()
endforeach()
if(failures)
    list(JOIN failures "\n" text)
    message(FATAL_ERROR "${text}")
endif()
message(STATUS "no widget header below windows/, and nothing included from above")
