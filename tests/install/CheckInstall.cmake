# Installs the build tree into a fresh prefix and checks what a desktop
# needs: both programs answering --version, the desktop entry (validated),
# its icon and file types, the manual in both languages and the starter
# macro library.
# Called with -DBUILD_DIR=... -DPREFIX=... -DVERSION=...
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()

set(expected
  bin/kestrel bin/kestrel-cli bin/kestrel-cli-render
  share/applications/kestrel.desktop
  share/icons/hicolor/scalable/apps/kestrel.svg
  share/mime/packages/kestrel.xml)
foreach(page start drawing editing boards macros routing groundplane output printing commandline)
  list(APPEND expected share/doc/kestrel/manual/ru/${page}.html share/doc/kestrel/manual/en/${page}.html)
endforeach()
if(NOT IS_DIRECTORY "${PREFIX}/share/kestrel/Makros")
  message(FATAL_ERROR "not installed: the starter macro library share/kestrel/Makros")
endif()
foreach(f IN LISTS expected)
  if(NOT EXISTS "${PREFIX}/${f}")
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()

execute_process(COMMAND desktop-file-validate "${PREFIX}/share/applications/kestrel.desktop"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "")
  message(FATAL_ERROR "desktop-file-validate: ${rc} ${out}")
endif()

file(READ "${PREFIX}/share/mime/packages/kestrel.xml" mime)
file(READ "${PREFIX}/share/applications/kestrel.desktop" entry)
foreach(type application/x-kestrel-layout application/x-kestrel-macro)
  if(NOT mime MATCHES "type=\"${type}\"" OR NOT entry MATCHES "${type};")
    message(FATAL_ERROR "${type} is not declared and claimed by the entry")
  endif()
endforeach()
if(NOT mime MATCHES "\\*\\.kbd" OR NOT mime MATCHES "\\*\\.kmk")
  message(FATAL_ERROR "the file types miss *.kbd or *.kmk")
endif()

# As over ssh: a desktop platform named, but no display to reach. The
# version is answered before any window system is.
set(ENV{QT_QPA_PLATFORM} xcb)
unset(ENV{DISPLAY})
unset(ENV{WAYLAND_DISPLAY})
foreach(program kestrel kestrel-cli)
  execute_process(COMMAND "${PREFIX}/bin/${program}" --version RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_QUIET)
  if(NOT rc EQUAL 0 OR NOT out STREQUAL "${program} ${VERSION}\n")
    message(FATAL_ERROR "${program} --version: ${rc} '${out}'")
  endif()
endforeach()
file(REMOVE_RECURSE "${PREFIX}")
