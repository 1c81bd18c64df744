# The desktop entry, the run-file type, the metainfo and the manual pages as a desktop, a
# software centre and man read them, with whichever checking tools are installed; the build
# needs none of them.
#   cmake -DSOURCE=<repository> -DWORK=<scratch folder> -DVERSION=<project version>
#         -P desktop_files_test.cmake
cmake_minimum_required(VERSION 3.25)
set(desktop ${SOURCE}/resources/vornick.desktop)
set(mime ${SOURCE}/resources/vornick-mime.xml)
set(metainfo ${SOURCE}/resources/io.github.vornick.Vornick.metainfo.xml)

function(check what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0 OR NOT out STREQUAL "")
    message(FATAL_ERROR "${what}: ${out}")
  endif()
endfunction()

file(STRINGS ${desktop} entry)
if(NOT "Exec=vornick %f" IN_LIST entry OR NOT "MimeType=application/x-vornick-run;" IN_LIST entry)
  message(FATAL_ERROR "${desktop} must take a file (%f) and name the run-file type")
endif()
find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
if(DESKTOP_FILE_VALIDATE)
  check(desktop-file-validate ${DESKTOP_FILE_VALIDATE} ${desktop})
endif()
find_program(XMLLINT xmllint)
if(XMLLINT)
  check(xmllint ${XMLLINT} --noout ${mime})
endif()

# Installed as shared-mime-info installs a package, the glob and the magic reach its tables.
find_program(UPDATE_MIME_DATABASE update-mime-database)
if(UPDATE_MIME_DATABASE)
  set(db ${WORK}/mime-check/mime)
  file(REMOVE_RECURSE ${WORK}/mime-check)
  file(MAKE_DIRECTORY ${db}/packages)
  file(COPY_FILE ${mime} ${db}/packages/vornick.xml)
  # Told where the database is, it reports nothing but faults of the package.
  check(update-mime-database ${CMAKE_COMMAND} -E env XDG_DATA_HOME=${WORK}/mime-check
        ${UPDATE_MIME_DATABASE} ${db})
  file(STRINGS ${db}/globs2 globs REGEX "vornick")
  file(STRINGS ${db}/magic magic REGEX "vornick-run")  # binary: its printable runs
  if(NOT globs MATCHES "application/x-vornick-run:\\*\\.vornick" OR magic STREQUAL "")
    message(FATAL_ERROR "the run-file type did not reach the database: ${globs}")
  endif()
endif()

# The newest release is this version, and the screenshot is the picture kept beside it, at the
# size the metainfo gives.
file(READ ${metainfo} meta)
string(REGEX MATCH "<release version=\"([^\"]+)\"" release "${meta}")
if(NOT CMAKE_MATCH_1 STREQUAL VERSION)
  message(FATAL_ERROR "the metainfo's newest release is ${CMAKE_MATCH_1}, the project ${VERSION}")
endif()
string(REGEX MATCH "width=\"([0-9]+)\" height=\"([0-9]+)\">[^<]*/(resources/screenshots/[^<]+)<"
       shot "${meta}")
set(size "${CMAKE_MATCH_1} ${CMAKE_MATCH_2}")
set(png ${SOURCE}/${CMAKE_MATCH_3})
if(shot STREQUAL "" OR NOT EXISTS ${png})
  message(FATAL_ERROR "the metainfo's screenshot is not in resources/screenshots: ${shot}")
endif()
file(READ ${png} header LIMIT 24 HEX)  # the PNG signature and the IHDR width and height
string(SUBSTRING "${header}" 32 8 w)
string(SUBSTRING "${header}" 40 8 h)
math(EXPR w "0x${w}")
math(EXPR h "0x${h}")
if(NOT "${w} ${h}" STREQUAL size)
  message(FATAL_ERROR "${png} is ${w} x ${h}, the metainfo says ${size}")
endif()
find_program(APPSTREAMCLI appstreamcli)
if(APPSTREAMCLI)
  execute_process(COMMAND ${APPSTREAMCLI} validate --no-net ${metainfo}
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "appstreamcli validate: ${out}")
  endif()
endif()

# Every warning groff has about a page's markup.
find_program(GROFF groff)
if(GROFF)
  foreach(page vornick.1 vornick-trace.1)
    check("${page}" ${GROFF} -t -man -ww -z ${SOURCE}/docs/man/${page}.in)
  endforeach()
endif()
