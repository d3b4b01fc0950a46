# The layers that must stay free of widgets (common/, the engines of the two programs, the
# platform's interfaces, the use cases of both programs), and the two programs kept apart.
#
# require_no_widgets(TARGET) marks a target; check_layers() (at the end of the top-level
# CMakeLists) refuses the configuration when
# - a marked target links Qt Widgets or Qt Print Support, or the platform's Qt side, directly or
#   through another library;
# - a file of a marked target includes a widget header or a header of platform/ (the platform's
#   interfaces are allowed to a target that links platform_interfaces; its Qt side, widget
#   helpers and doubles never);
# - a file under appraise/ includes a header of interest/, or a file under interest/ a header of
#   appraise/.
#
# The files of a marked target are every .h and .cpp of the folders its sources are in, listed
# or not: a header-only file, or a source built on another system only, is checked as well.
# Left out are the files another target lists (its sources and their same-named headers) and,
# in a folder shared with a target that may use widgets, a header that only such targets'
# sources include.

function(require_no_widgets target)
  set_property(GLOBAL APPEND PROPERTY VELMARON_WIDGET_FREE ${target})
endfunction()

function(_velmaron_linked target out)
  set(seen ${${out}})
  foreach(prop LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
    get_target_property(libs ${target} ${prop})
    if(NOT libs)
      continue()
    endif()
    foreach(lib ${libs})
      string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" lib "${lib}")
      if(lib IN_LIST seen)
        continue()
      endif()
      list(APPEND seen ${lib})
      if(TARGET ${lib})
        _velmaron_linked(${lib} seen)
      endif()
    endforeach()
  endforeach()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

# Every target defined in this directory and below it.
function(_velmaron_targets dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub ${subdirs})
    _velmaron_targets(${sub} more)
    list(APPEND targets ${more})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# The files of the source tree a target lists, each source with its same-named header, as
# absolute paths; generated files and files outside the source tree are left out.
function(_velmaron_listed target out)
  set(files "")
  get_target_property(sources ${target} SOURCES)
  get_target_property(source_dir ${target} SOURCE_DIR)
  if(sources)
    foreach(src ${sources})
      if(src MATCHES "\\$<")
        continue()
      endif()
      get_filename_component(path ${src} ABSOLUTE BASE_DIR ${source_dir})
      if(NOT path MATCHES "\\.(cpp|h)$" OR NOT EXISTS ${path})
        continue()
      endif()
      string(FIND "${path}" "${CMAKE_SOURCE_DIR}/" in_source)
      string(FIND "${path}" "${CMAKE_BINARY_DIR}/" in_binary)
      if(NOT in_source EQUAL 0 OR in_binary EQUAL 0)
        continue()
      endif()
      list(APPEND files ${path})
      get_filename_component(stem ${path} NAME_WLE)
      get_filename_component(dir ${path} DIRECTORY)
      if(EXISTS ${dir}/${stem}.h)
        list(APPEND files ${dir}/${stem}.h)
      endif()
    endforeach()
  endif()
  list(REMOVE_DUPLICATES files)
  set(${out} ${files} PARENT_SCOPE)
endfunction()

# The include lines of a file.
function(_velmaron_includes file out)
  file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  set(${out} "${includes}" PARENT_SCOPE)
endfunction()

# The files of the source tree these files include, as absolute paths (every include is written
# from the repository root).
function(_velmaron_included files out)
  set(included "")
  foreach(file ${files})
    _velmaron_includes(${file} includes)
    foreach(inc ${includes})
      if(inc MATCHES "\"([^\"]+)\"" AND EXISTS ${CMAKE_SOURCE_DIR}/${CMAKE_MATCH_1})
        list(APPEND included ${CMAKE_SOURCE_DIR}/${CMAKE_MATCH_1})
      endif()
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES included)
  set(${out} ${included} PARENT_SCOPE)
endfunction()

# A file's path as the messages show it: from the repository root.
function(_velmaron_shown file out)
  file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR} ${file})
  set(${out} ${rel} PARENT_SCOPE)
endfunction()

function(check_layers)
  set(problems "")

  # The widgets' own headers, to know <QPushButton> for one.
  set(widget_headers_dir "")
  if(TARGET Qt6::Widgets)
    get_target_property(widget_dirs Qt6::Widgets INTERFACE_INCLUDE_DIRECTORIES)
    foreach(d ${widget_dirs})
      if(d MATCHES "QtWidgets$")
        set(widget_headers_dir ${d})
      endif()
    endforeach()
  endif()

  # What every target lists; the folders of the targets that may use widgets, and the headers
  # each kind of target includes.
  get_property(widget_free GLOBAL PROPERTY VELMARON_WIDGET_FREE)
  _velmaron_targets(${CMAKE_SOURCE_DIR} all_targets)
  set(listed_by_any "")
  set(widget_folders "")
  set(files_of_free "")
  set(files_of_others "")
  foreach(target ${all_targets})
    _velmaron_listed(${target} listed)
    set(listed_${target} ${listed})
    list(APPEND listed_by_any ${listed})
    if(target IN_LIST widget_free)
      list(APPEND files_of_free ${listed})
    else()
      list(APPEND files_of_others ${listed})
      foreach(file ${listed})
        get_filename_component(dir ${file} DIRECTORY)
        list(APPEND widget_folders ${dir})
      endforeach()
    endif()
  endforeach()
  list(REMOVE_DUPLICATES listed_by_any)
  list(REMOVE_DUPLICATES widget_folders)
  _velmaron_included("${files_of_free}" included_by_free)
  _velmaron_included("${files_of_others}" included_by_others)

  foreach(target ${widget_free})
    set(linked "")
    _velmaron_linked(${target} linked)
    foreach(bad Qt6::Widgets Qt6::PrintSupport platform)
      if(bad IN_LIST linked)
        list(APPEND problems "${target} must not link widgets, but it links ${bad}")
      endif()
    endforeach()
    set(interfaces_allowed OFF)
    if(target STREQUAL "platform_interfaces" OR "platform_interfaces" IN_LIST linked)
      set(interfaces_allowed ON)
    endif()

    # The target's files: every header and source of its folders, but what is another's.
    set(folders "")
    foreach(file ${listed_${target}})
      get_filename_component(dir ${file} DIRECTORY)
      list(APPEND folders ${dir})
    endforeach()
    list(REMOVE_DUPLICATES folders)
    set(files "")
    foreach(dir ${folders})
      file(GLOB in_folder LIST_DIRECTORIES false ${dir}/*.h ${dir}/*.cpp)
      foreach(file ${in_folder})
        if(NOT file IN_LIST listed_${target})
          if(file IN_LIST listed_by_any)
            continue()
          endif()
          if(dir IN_LIST widget_folders AND file IN_LIST included_by_others AND NOT file IN_LIST included_by_free)
            continue()
          endif()
        endif()
        list(APPEND files ${file})
      endforeach()
    endforeach()

    foreach(file ${files})
      _velmaron_shown(${file} shown)
      _velmaron_includes(${file} includes)
      foreach(inc ${includes})
        if(inc MATCHES "[\"<]platform/(qt|widgets|doubles)/"
           OR (inc MATCHES "[\"<]platform/" AND NOT interfaces_allowed))
          list(APPEND problems "${target} must not link widgets, but ${shown} includes a platform header: ${inc}")
        elseif(inc MATCHES "<QtWidgets/|<QtPrintSupport/")
          list(APPEND problems "${target} must not link widgets, but ${shown} includes a widget header: ${inc}")
        elseif(widget_headers_dir AND inc MATCHES "<(Qt[A-Za-z]+/)?(Q[A-Za-z]+)>")
          if(EXISTS ${widget_headers_dir}/${CMAKE_MATCH_2})
            list(APPEND problems "${target} must not link widgets, but ${shown} includes a widget header: ${inc}")
          endif()
        endif()
      endforeach()
    endforeach()
  endforeach()

  # Appraise and Interest share only what lies below both (common/, store/, platform/).
  foreach(pair "appraise;interest" "interest;appraise")
    list(GET pair 0 program)
    list(GET pair 1 other)
    file(GLOB_RECURSE files LIST_DIRECTORIES false ${CMAKE_SOURCE_DIR}/${program}/*.h
         ${CMAKE_SOURCE_DIR}/${program}/*.cpp)
    list(SORT files)
    foreach(file ${files})
      _velmaron_includes(${file} includes)
      foreach(inc ${includes})
        if(inc MATCHES "[\"<]${other}/")
          _velmaron_shown(${file} shown)
          list(APPEND problems "${program}/ must not include a header of ${other}/, but ${shown} includes: ${inc}")
        endif()
      endforeach()
    endforeach()
  endforeach()

  list(REMOVE_DUPLICATES problems)
  if(problems)
    list(JOIN problems "\n" text)
    message(FATAL_ERROR "The layers are crossed:\n${text}")
  endif()
endfunction()
