# A Windows program finds its DLLs beside itself: Qt's libraries, Qt's plugins in their
# folders, and the compiler's runtime. They are copied beside the built programs (so that the
# tests run under wine, or on Windows, from the build folder) and installed beside them.
set(qt_prefix ${QT6_INSTALL_PREFIX})
set(qt_dlls Qt6Core Qt6Gui Qt6Widgets Qt6PrintSupport)
set(qt_plugins platforms/qwindows styles/qwindowsvistastyle imageformats/qico imageformats/qgif
               imageformats/qjpeg)

set(runtime_dlls)
if(MINGW)
  foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll} OUTPUT_VARIABLE path
                    OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${path}")
      # Debian's mingw-w64 keeps the threads library with the target's libraries.
      find_file(path NAMES ${dll} PATHS /usr/${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32/lib NO_DEFAULT_PATH)
    endif()
    if(NOT EXISTS "${path}")
      message(FATAL_ERROR "The compiler's runtime ${dll} was not found")
    endif()
    list(APPEND runtime_dlls ${path})
    unset(path CACHE)
  endforeach()
endif()

set(bin ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
foreach(dll ${qt_dlls})
  file(COPY ${qt_prefix}/bin/${dll}.dll DESTINATION ${bin})
  install(FILES ${qt_prefix}/bin/${dll}.dll DESTINATION .)
endforeach()
if(BUILD_TESTING)
  file(COPY ${qt_prefix}/bin/Qt6Test.dll DESTINATION ${bin})
  # The tests run on the offscreen platform.
  file(COPY ${qt_prefix}/plugins/platforms/qoffscreen.dll DESTINATION ${bin}/platforms)
endif()
foreach(plugin ${qt_plugins})
  get_filename_component(folder ${plugin} DIRECTORY)
  file(COPY ${qt_prefix}/plugins/${plugin}.dll DESTINATION ${bin}/${folder})
  install(FILES ${qt_prefix}/plugins/${plugin}.dll DESTINATION ${folder})
endforeach()
foreach(dll ${runtime_dlls})
  file(COPY ${dll} DESTINATION ${bin})
  install(FILES ${dll} DESTINATION .)
endforeach()

# The tests measure text with the fonts of a Debian machine (scripts/install-deps.sh installs
# them); under wine the offscreen platform reads them from fonts/ beside bin/.
if(BUILD_TESTING AND CMAKE_CROSSCOMPILING)
  file(GLOB test_fonts /usr/share/fonts/truetype/liberation2/*.ttf /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
       /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf /usr/share/fonts/truetype/dejavu/DejaVuSansMono*.ttf
       /usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf /usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf)
  file(COPY ${test_fonts} DESTINATION ${CMAKE_BINARY_DIR}/fonts)
endif()
