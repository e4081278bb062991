cmake_minimum_required(VERSION 3.21)

# Run by ctest (see CMakeLists.txt): each case compiles one include in a file standing in a
# layer's folder, with that layer's flags.
#   allowed  the include compiles
#   refused  the compiler stops because it cannot find that very header

set(cases
    "ravex_data|data|#include \"data/Connection.h\"|allowed"
    "ravex_data|data|#include <QSqlQuery>|allowed"
    "ravex_data|data|#include \"ui/Look.h\"|refused"
    "ravex_data|data|#include <QLabel>|refused"
    "ravex_data|data|#include <QPixmap>|refused"
    "ravex_data|data|#include \"platform/Picture.h\"|refused"
    "ravex_rules|rules|#include \"data/SharedState.h\"|allowed"
    "ravex_rules|rules|#include \"rules/Grading.h\"|allowed"
    "ravex_rules|rules|#include \"app/frmMain.h\"|refused"
    "ravex_rules|rules|#include <QLabel>|refused"
    "ravex_rules|rules|#include \"settings/frmTanzimat.h\"|refused"
    "ravex_rules|rules|#include <QPixmap>|refused"
    "ravex_rules|rules|#include \"audio/Speech.h\"|refused"
    "ravex_audio|audio|#include \"audio/Speech.h\"|allowed"
    "ravex_audio|audio|#include <QTextToSpeech>|allowed"
    "ravex_audio|audio|#include \"card/ReadAloud.h\"|refused"
    "ravex_audio|audio|#include \"exam/frmAzmoon.h\"|refused"
    "ravex_audio|audio|#include \"rules/Utterance.h\"|refused"
    "ravex_audio|audio|#include <QWidget>|refused")

set(failures 0)
set(index 0)
foreach(case IN LISTS cases)
    string(REPLACE "|" ";" fields "${case}")
    list(GET fields 0 layer)
    list(GET fields 1 folder)
    list(GET fields 2 line)
    list(GET fields 3 expected)
    # Each layer's flags as the build gives them to its own files.
    include(${LAYERS}/${layer}.cmake)
    set(flags ${STANDARD} ${PIC} ${OPTIONS})
    foreach(dir IN LISTS INCLUDES)
        list(APPEND flags "-I${dir}")
    endforeach()
    # A definition a generator expression left empty (Qt's QT_NO_DEBUG in a debug build) is none.
    foreach(definition IN LISTS DEFINITIONS)
        if(NOT definition STREQUAL "")
            list(APPEND flags "-D${definition}")
        endif()
    endforeach()

    math(EXPR index "${index} + 1")
    set(probe ${WORK}/${index}/${folder}/probe.cpp)
    file(WRITE ${probe} "${line}\n")
    execute_process(COMMAND ${COMPILER} ${flags} -fsyntax-only ${probe}
        RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)

    string(REGEX REPLACE "^#include [<\"](.*)[>\"]$" "\\1" header "${line}")
    if(expected STREQUAL "allowed")
        if(result EQUAL 0)
            set(verdict "ok")
        else()
            set(verdict "FAILED: does not compile\n${output}")
        endif()
    else()
        # GCC: "ui/Look.h: No such file or directory"; Clang: "'ui/Look.h' file not found".
        string(FIND "${output}" "${header}: No such file or directory" gcc_missing)
        string(FIND "${output}" "'${header}' file not found" clang_missing)
        if(result EQUAL 0)
            set(verdict "FAILED: compiles")
        elseif(gcc_missing EQUAL -1 AND clang_missing EQUAL -1)
            set(verdict "FAILED: refused for another reason\n${output}")
        else()
            set(verdict "ok")
        endif()
    endif()
    message("${layer} (${folder}/): ${line}: ${expected}: ${verdict}")
    if(NOT verdict STREQUAL "ok")
        math(EXPR failures "${failures} + 1")
    endif()
endforeach()

# Headers named with their module: only the modules the layer links.
set(modules_ravex_platform Core)
set(modules_ravex_data Core Sql)
set(modules_ravex_rules Core Sql)
set(modules_ravex_audio Core TextToSpeech)
foreach(layer ravex_platform ravex_data ravex_rules ravex_audio)
    include(${LAYERS}/${layer}.cmake)
    set(named 0)
    foreach(source IN LISTS SOURCES)
        if(NOT source MATCHES "\\.(h|cpp)$" OR NOT EXISTS ${source})
            continue()
        endif()
        file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*<Qt[A-Za-z]+/")
        foreach(include IN LISTS includes)
            math(EXPR named "${named} + 1")
            string(REGEX REPLACE ".*<Qt([A-Za-z]+)/.*" "\\1" module "${include}")
            if(NOT module IN_LIST modules_${layer})
                message("${layer}: ${source}: ${include}: FAILED: Qt${module} is not this layer's")
                math(EXPR failures "${failures} + 1")
            endif()
        endforeach()
    endforeach()
    list(LENGTH SOURCES files)
    message("${layer}: ${files} files read for headers named with their Qt module, ${named} found")
endforeach()

if(failures GREATER 0)
    message(FATAL_ERROR "${failures} fence case(s) failed")
endif()
