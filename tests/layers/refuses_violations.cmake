# The layer check of cmake/layers.cmake on a small tree laid out like the project's: configured
# as it should be, it is accepted; with each kind of crossing, it is refused with the check's
# message. Prints what was accepted and what was refused.
#
#   cmake -DLAYERS=<cmake/layers.cmake> -DWORK=<scratch folder> [-DGENERATOR=<generator>]
#         [-DMAKE_PROGRAM=<path>] -P refuses_violations.cmake
#
# The tree is configured in one build folder for every case, so that the compiler is looked at
# only once.
cmake_minimum_required(VERSION 3.25)
foreach(var LAYERS WORK)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "refuses_violations.cmake needs -D${var}=...")
  endif()
endforeach()

set(tree ${WORK}/tree)
set(build ${WORK}/build)

# The tree as it should be: widget-free libraries below, a window beside its engine in the
# engine's folder, a use case that may include the platform's interfaces.
function(write_clean_tree)
  file(REMOVE_RECURSE ${tree})
  file(WRITE ${tree}/CMakeLists.txt [=[
cmake_minimum_required(VERSION 3.25)
project(layers_check LANGUAGES CXX)
include(${LAYERS})

# Stands in for Qt's widgets: a target with a QtWidgets folder of headers.
add_library(Qt6::Widgets INTERFACE IMPORTED)
set_target_properties(Qt6::Widgets PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${CMAKE_SOURCE_DIR}/qt/QtWidgets)

add_library(common STATIC common/dates.cpp)
require_no_widgets(common)
add_library(store STATIC store/month_files.cpp)
target_link_libraries(store PUBLIC common)
require_no_widgets(store)

add_library(platform_interfaces STATIC platform/dialogs.cpp)
target_link_libraries(platform_interfaces PUBLIC common)
require_no_widgets(platform_interfaces)
add_library(platform STATIC platform/qt/qt_platform.cpp)
target_link_libraries(platform PUBLIC platform_interfaces Qt6::Widgets)

add_library(appraise_worksheet STATIC appraise/worksheet/carat.cpp)
target_link_libraries(appraise_worksheet PUBLIC common)
require_no_widgets(appraise_worksheet)
add_library(appraise_use_cases STATIC appraise/use_cases/print_job.cpp)
target_link_libraries(appraise_use_cases PUBLIC appraise_worksheet platform_interfaces)
require_no_widgets(appraise_use_cases)
add_library(appraise_window STATIC appraise/worksheet_window.cpp)
target_link_libraries(appraise_window PUBLIC appraise_use_cases platform)

add_library(interest_engine STATIC interest/posting_run.cpp)
target_link_libraries(interest_engine PUBLIC store)
require_no_widgets(interest_engine)
add_library(interest_window STATIC interest/interest_window.cpp)
target_link_libraries(interest_window PUBLIC interest_engine platform)

check_layers()
]=])
  set(files
      "qt/QtWidgets/QWidget|"
      "common/dates.h|#pragma once\n#include <QDate>\n"
      "common/dates.cpp|#include \"common/dates.h\"\n"
      "common/page_geometry.h|#pragma once\n"
      "common/env_win32.cpp|#include <windows.h>\n"
      "store/account_record.h|#pragma once\n#include \"common/dates.h\"\n"
      "store/month_files.h|#pragma once\n#include <string>\n"
      "store/month_files.cpp|#include \"store/month_files.h\"\n#include \"store/account_record.h\"\n"
      "platform/dialogs.h|#pragma once\n#include <QString>\n"
      "platform/dialogs.cpp|#include \"platform/dialogs.h\"\n"
      "platform/qt/qt_platform.h|#pragma once\n#include <QWidget>\n"
      "platform/qt/qt_platform.cpp|#include \"platform/qt/qt_platform.h\"\n"
      "appraise/worksheet/carat.h|#pragma once\n#include \"common/dates.h\"\n"
      "appraise/worksheet/carat.cpp|#include \"appraise/worksheet/carat.h\"\n"
      "appraise/use_cases/print_job.h|#pragma once\n#include \"platform/dialogs.h\"\n"
      "appraise/use_cases/print_job.cpp|#include \"appraise/use_cases/print_job.h\"\n"
      "appraise/worksheet_window.h|#pragma once\n#include <QWidget>\n#include \"platform/qt/qt_platform.h\"\n"
      "appraise/worksheet_window.cpp|#include \"appraise/worksheet_window.h\"\n"
      "interest/posting_run.h|#pragma once\n#include \"store/month_files.h\"\n"
      "interest/posting_run.cpp|#include \"interest/posting_run.h\"\n"
      "interest/interest_window.h|#pragma once\n#include <QWidget>\n#include \"interest/posting_run.h\"\n"
      "interest/interest_window.cpp|#include \"interest/interest_window.h\"\n#include \"interest/window_parts.h\"\n"
      # A header of the window alone, in the engine's folder: only the window includes it.
      "interest/window_parts.h|#pragma once\n#include \"platform/qt/qt_platform.h\"\n")
  foreach(entry ${files})
    string(REGEX MATCH "^[^|]*" name "${entry}")
    string(REGEX REPLACE "^[^|]*\\|" "" text "${entry}")
    file(WRITE ${tree}/${name} "${text}")
  endforeach()
endfunction()

set(failures 0)

# Configures the tree; `expected` empty means it must be accepted, else refused with a message
# matching it.
function(configure_case what expected)
  set(args -S ${tree} -B ${build} -DLAYERS=${LAYERS})
  if(GENERATOR)
    list(APPEND args -G ${GENERATOR})
  endif()
  if(MAKE_PROGRAM)
    list(APPEND args -DCMAKE_MAKE_PROGRAM=${MAKE_PROGRAM})
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} ${args} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(all "${out}${err}")
  if(expected STREQUAL "")
    if(status EQUAL 0)
      message(STATUS "layers: accepted: ${what}")
    else()
      message(STATUS "layers: FAILED: ${what} was refused, it should be accepted:\n${all}")
      math(EXPR failures "${failures} + 1")
    endif()
  else()
    # CMake wraps a message's lines: the message is looked for in the output as one line.
    string(REGEX REPLACE "[ \t\r\n]+" " " flat "${all}")
    string(REGEX MATCH "${expected}.*" said "${flat}")
    string(REGEX REPLACE " Call Stack .*| CMake Error .*" "" said "${said}")
    if(NOT status EQUAL 0 AND said)
      message(STATUS "layers: refused: ${what}: ${said}")
    elseif(status EQUAL 0)
      message(STATUS "layers: FAILED: ${what} was accepted, it should be refused")
      math(EXPR failures "${failures} + 1")
    else()
      message(STATUS "layers: FAILED: ${what} was refused without the check's message \"${expected}\":\n${all}")
      math(EXPR failures "${failures} + 1")
    endif()
  endif()
  set(failures ${failures} PARENT_SCOPE)
endfunction()

write_clean_tree()
configure_case("the tree as it should be" "")

write_clean_tree()
file(WRITE ${tree}/store/month_record.h "#pragma once\n#include \"platform/dialogs.h\"\n")
configure_case("a header-only file of store/ includes platform/dialogs.h"
               "store must not link widgets, but store/month_record.h includes a platform header")

write_clean_tree()
file(WRITE ${tree}/common/page_geometry.h "#pragma once\n#include <QWidget>\n")
configure_case("a header-only file of common/ includes a widget header"
               "common must not link widgets, but common/page_geometry.h includes a widget header")

write_clean_tree()
file(WRITE ${tree}/interest/chain_step.h "#pragma once\n#include \"platform/qt/qt_platform.h\"\n")
file(APPEND ${tree}/interest/posting_run.cpp "#include \"interest/chain_step.h\"\n")
configure_case("a header of the engine's folder included by the engine includes the platform's Qt side"
               "interest_engine must not link widgets, but interest/chain_step.h includes a platform header")

write_clean_tree()
file(APPEND ${tree}/appraise/worksheet/carat.cpp "#include \"interest/posting_run.h\"\n")
configure_case("appraise/worksheet/carat.cpp includes interest/posting_run.h"
               "appraise/ must not include a header of interest/, but appraise/worksheet/carat.cpp includes")

write_clean_tree()
file(APPEND ${tree}/interest/interest_window.h "#include \"appraise/worksheet/carat.h\"\n")
configure_case("interest/interest_window.h includes appraise/worksheet/carat.h"
               "interest/ must not include a header of appraise/, but interest/interest_window.h includes")

write_clean_tree()
file(READ ${tree}/CMakeLists.txt text)
string(REPLACE "check_layers()" "target_link_libraries(interest_engine PUBLIC Qt6::Widgets)\ncheck_layers()" text "${text}")
file(WRITE ${tree}/CMakeLists.txt "${text}")
configure_case("the engine links Qt6::Widgets" "interest_engine must not link widgets, but it links Qt6::Widgets")

if(failures GREATER 0)
  message(FATAL_ERROR "layers: ${failures} case(s) not as expected")
endif()
message(STATUS "layers: the check accepts the clean tree and refuses each crossing")
