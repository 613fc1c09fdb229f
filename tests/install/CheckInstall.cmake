# Installs the build into a fresh prefix and checks what a distribution
# package gets: the program reachable from bin/ with its help and text file
# and the package manager's mark beside it, the icon in the hicolor theme, a
# menu entry and AppStream metadata that validate, the manual page, the
# copyright and change log.
#   cmake -DBUILD_DIR=... -DWORK_DIR=... -P CheckInstall.cmake
set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${prefix})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix} --component Unspecified
  RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()
file(GLOB_RECURSE program LIST_DIRECTORIES false ${prefix}/lib*/nuvask/nuvask)
if(NOT program)
  message(FATAL_ERROR "no program under ${prefix}/lib*/nuvask")
endif()
get_filename_component(folder ${program} DIRECTORY)
foreach(f ${folder}/NUVASK.HLP ${folder}/NUVASK_EN.HLP ${folder}/NUVASK.TXT ${folder}/nuvask.packaged
        ${prefix}/share/icons/hicolor/scalable/apps/nuvask.svg
        ${prefix}/share/icons/hicolor/48x48/apps/nuvask.png ${prefix}/share/applications/nuvask.desktop
        ${prefix}/share/metainfo/org.nuvask.nuvask.metainfo.xml ${prefix}/share/man/man1/nuvask.1.gz
        ${prefix}/share/doc/nuvask/copyright ${prefix}/share/doc/nuvask/changelog.gz)
  if(NOT EXISTS ${f})
    message(FATAL_ERROR "missing: ${f}")
  endif()
endforeach()
file(REAL_PATH ${prefix}/bin/nuvask linked)
file(REAL_PATH ${program} real)
if(NOT linked STREQUAL real)
  message(FATAL_ERROR "bin/nuvask leads to ${linked}, not ${real}")
endif()
find_program(VALIDATE desktop-file-validate)
if(VALIDATE)
  execute_process(COMMAND ${VALIDATE} ${prefix}/share/applications/nuvask.desktop RESULT_VARIABLE rc
    OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0 OR out MATCHES "error")
    message(FATAL_ERROR "the menu entry does not validate: ${out}")
  endif()
endif()
find_program(APPSTREAMCLI appstreamcli)
if(APPSTREAMCLI)
  execute_process(COMMAND ${APPSTREAMCLI} validate --no-net ${prefix}/share/metainfo/org.nuvask.nuvask.metainfo.xml
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "the AppStream metadata does not validate: ${out}")
  endif()
endif()
file(REMOVE_RECURSE ${prefix})
