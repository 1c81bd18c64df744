# The desktop entry and the run-file type as a desktop reads them, with whichever checking tools
# are installed; the build needs none of them.
#   cmake -DSOURCE=<repository> -DWORK=<scratch folder> -P desktop_files_test.cmake
cmake_minimum_required(VERSION 3.25)
set(desktop ${SOURCE}/resources/vornick.desktop)
set(mime ${SOURCE}/resources/vornick-mime.xml)

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
