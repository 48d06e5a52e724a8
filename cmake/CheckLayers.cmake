# Checks the include lines of the sources against the layers of the program:
# - nothing under core/ includes a Qt Widgets or Qt Gui header, nor a header of ui/ or app/ (the
#   core links neither);
# - nothing under ui/ includes a header of app/;
# - widgets/ includes no other folder of ui/, and a part of the screen (ui/<part>/) includes no
#   other part's header, nor the screen itself: the screen wires the calls between its parts.
# Usage: cmake -DROOT=<folder holding core/ ui/ app/> -DQT_HEADER_DIRS=<dirs> [-DEXPECT=<count>]
#              -P CheckLayers.cmake
# Fails when it finds a violation; with EXPECT, fails unless it finds exactly that many (the
# check's own test).
cmake_minimum_required(VERSION 3.25)
get_filename_component(ROOT "${ROOT}" ABSOLUTE)

set(qt_headers "")
foreach(dir ${QT_HEADER_DIRS})
    file(GLOB names RELATIVE ${dir} ${dir}/*)
    list(APPEND qt_headers ${names})
endforeach()

set(violations 0)
function(violation file line text)
    file(RELATIVE_PATH shown ${ROOT} ${file})
    message("${shown}:${line}: ${text}")
    math(EXPR count "${violations} + 1")
    set(violations ${count} PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE sources RELATIVE ${ROOT} ${ROOT}/*.cpp ${ROOT}/*.h)
foreach(source ${sources})
    string(REGEX MATCH "^[^/]+" layer ${source})
    string(REGEX MATCH "^ui/([^/]+)/" part_match ${source})
    set(part ${CMAKE_MATCH_1})
    file(STRINGS ${ROOT}/${source} lines)
    set(number 0)
    foreach(line IN LISTS lines)
        math(EXPR number "${number} + 1")
        if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"]")
            continue()
        endif()
        set(header ${CMAKE_MATCH_1})
        string(REGEX REPLACE "^Qt(Widgets|Gui)/" "" bare ${header})
        if(layer STREQUAL "core")
            if(header MATCHES "^Qt(Widgets|Gui)/" OR bare IN_LIST qt_headers)
                violation(${ROOT}/${source} ${number} "includes <${header}>, a Qt Widgets or Gui header: the core links no widget")
            elseif(header MATCHES "^(ui|app)/")
                violation(${ROOT}/${source} ${number} "includes \"${header}\": the core includes nothing of the screen or the program")
            endif()
        elseif(layer STREQUAL "ui")
            string(REGEX MATCH "^ui/([^/]+)/" other_match ${header})
            set(other ${CMAKE_MATCH_1})
            if(header MATCHES "^app/")
                violation(${ROOT}/${source} ${number} "includes \"${header}\": the screen includes nothing of the program's start")
            elseif(part STREQUAL "widgets" AND other_match AND NOT other STREQUAL "widgets")
                violation(${ROOT}/${source} ${number} "includes \"${header}\": the widgets know nothing of the screen")
            elseif(NOT part STREQUAL "screen" AND NOT part STREQUAL "widgets" AND other_match
                   AND NOT other STREQUAL part AND NOT other STREQUAL "widgets"
                   AND (NOT other STREQUAL "screen" OR header STREQUAL "ui/screen/MainScreen.h"))
                violation(${ROOT}/${source} ${number} "includes \"${header}\": a part of the screen reaches another only through the screen (ScreenCalls)")
            endif()
        endif()
    endforeach()
endforeach()

if(DEFINED EXPECT)
    if(NOT violations EQUAL EXPECT)
        message(FATAL_ERROR "found ${violations} layer violations, expected ${EXPECT}")
    endif()
elseif(violations GREATER 0)
    message(FATAL_ERROR "${violations} include lines cross the layers (see above)")
endif()
