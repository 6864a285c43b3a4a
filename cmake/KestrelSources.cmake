# Each subsystem folder under src/ holds its core files directly and its Qt
# files in a gui/ sub-folder. src/app is GUI only, src/cli is the command-line tool.
set(KESTREL_SUBSYSTEMS model geometry view edit route output)

function(kestrel_collect_core_sources out)
  set(result)
  foreach(sub IN LISTS KESTREL_SUBSYSTEMS)
    file(GLOB files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${sub}/*.cpp)
    list(APPEND result ${files})
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

function(kestrel_collect_gui_sources out)
  set(result)
  foreach(sub IN LISTS KESTREL_SUBSYSTEMS)
    file(GLOB files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${sub}/gui/*.cpp
                                      ${CMAKE_SOURCE_DIR}/src/${sub}/gui/*.h)
    list(APPEND result ${files})
  endforeach()
  file(GLOB app CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/app/*.cpp ${CMAKE_SOURCE_DIR}/src/app/*.h)
  list(REMOVE_ITEM app ${CMAKE_SOURCE_DIR}/src/app/main.cpp)
  list(APPEND result ${app})
  set(${out} ${result} PARENT_SCOPE)
endfunction()

# The core never includes Qt. The compiler would already fail on a Qt header
# (the core has no Qt include path), but a header-only slip through a system
# path would not, so every core file and header is scanned before the core builds.
function(kestrel_forbid_qt_in_core target sources)
  set(stamp ${CMAKE_BINARY_DIR}/core-has-no-qt.stamp)
  set(headers)
  foreach(sub IN LISTS KESTREL_SUBSYSTEMS)
    file(GLOB h CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${sub}/*.h)
    list(APPEND headers ${h})
  endforeach()
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DROOT=${CMAKE_SOURCE_DIR} "-DSUBSYSTEMS=$<JOIN:${KESTREL_SUBSYSTEMS},:>" -DSTAMP=${stamp}
            -P ${CMAKE_SOURCE_DIR}/cmake/CheckNoQt.cmake
    DEPENDS ${sources} ${headers} ${CMAKE_SOURCE_DIR}/cmake/CheckNoQt.cmake
    COMMENT "Checking that the core includes no Qt header")
  add_custom_target(${target}_no_qt DEPENDS ${stamp})
  add_dependencies(${target} ${target}_no_qt)
endfunction()
