# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 ぴこまる developers
#
# cmake -DCXX=<compiler> -DSOURCE=<source root> -DLAYERS=<folder=include folders|...> -P probe.cmake
# Each library sees only itself and the libraries below it. For every layer a file includes one
# of the layer's own headers and then one of the layer above, and is compiled with the include
# folders the layer's own sources get: the first header must be found and the second not.
set(order state generators drill app)
string(REPLACE "|" ";" layers "${LAYERS}")
foreach(layer IN LISTS layers)
    string(REGEX MATCH "^([a-z]+)=(.*)$" _ "${layer}")
    set(folder ${CMAKE_MATCH_1})
    string(REPLACE "," ";" includes "${CMAKE_MATCH_2}")
    list(FIND order ${folder} at)
    math(EXPR above "${at} + 1")
    list(GET order ${above} upper)
    file(GLOB own RELATIVE ${SOURCE} ${SOURCE}/${folder}/*.h)
    file(GLOB forbidden RELATIVE ${SOURCE} ${SOURCE}/${upper}/*.h)
    if(NOT own OR NOT forbidden)
        message(FATAL_ERROR "no headers in ${folder}/ or ${upper}/ to probe with")
    endif()
    list(GET own 0 own)
    list(GET forbidden 0 forbidden)
    set(probe ${CMAKE_CURRENT_BINARY_DIR}/layering-${folder}.cpp)
    file(WRITE ${probe} "#include \"${own}\"\n#include \"${forbidden}\"\n")
    list(TRANSFORM includes PREPEND -I)
    execute_process(COMMAND ${CXX} -std=c++20 -fsyntax-only ${includes} ${probe}
        RESULT_VARIABLE failed ERROR_VARIABLE errors OUTPUT_QUIET)
    # gcc: "fatal error: app/Form1.h: No such file or directory", clang: "'app/Form1.h' file not
    # found". Either stops at the first missing header, so naming the second proves the first found.
    string(REPLACE "." "\\." pattern "${forbidden}")
    if(NOT failed OR NOT errors MATCHES "${pattern}'?:? (No such file|file not found)")
        message(FATAL_ERROR "${folder}/ can include ${forbidden}, or failed otherwise:\n${errors}")
    endif()
    message(STATUS "${folder}/ cannot see ${upper}/ (${forbidden} not found)")
endforeach()
