# The desktop entry and the run-file type as a desktop reads them, with whichever of the
# checking tools are installed; the build itself needs none of them.
#   cmake -DSOURCE=<repository> -DWORK=<scratch folder> -P desktop_files_test.cmake
cmake_minimum_required(VERSION 3.25)
find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
find_program(XMLLINT xmllint)
find_program(UPDATE_MIME_DATABASE update-mime-database)

set(desktop ${SOURCE}/resources/vornick.desktop)
set(mime ${SOURCE}/resources/vornick-mime.xml)

file(READ ${desktop} entry)
foreach(line "Exec=vornick %f" "MimeType=application/x-vornick-run;")
  string(FIND "${entry}" "${line}\n" at)
  if(at LESS 0)
    message(FATAL_ERROR "${desktop}: no line '${line}'")
  endif()
endforeach()

if(DESKTOP_FILE_VALIDATE)
  execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} ${desktop}
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0 OR NOT out STREQUAL "")
    message(FATAL_ERROR "desktop-file-validate: ${out}")
  endif()
endif()

if(XMLLINT)
  execute_process(COMMAND ${XMLLINT} --noout ${mime} RESULT_VARIABLE status ERROR_VARIABLE out)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "xmllint: ${out}")
  endif()
endif()

# Installed as shared-mime-info installs a package: the glob and the magic reach its tables.
if(UPDATE_MIME_DATABASE)
  set(db ${WORK}/mime-check/mime)
  file(REMOVE_RECURSE ${WORK}/mime-check)
  file(MAKE_DIRECTORY ${db}/packages)
  file(COPY_FILE ${mime} ${db}/packages/vornick.xml)
  # Told where the database is, it reports nothing but faults of the package.
  execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_DATA_HOME=${WORK}/mime-check
                          ${UPDATE_MIME_DATABASE} ${db}
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0 OR NOT out STREQUAL "")
    message(FATAL_ERROR "update-mime-database: ${out}")
  endif()
  file(READ ${db}/globs2 globs)
  string(FIND "${globs}" "application/x-vornick-run:*.vornick" at)
  file(STRINGS ${db}/magic magic)  # binary: its printable runs
  string(FIND "${magic}" "vornick-run" magic_at)
  if(at LESS 0 OR magic_at LESS 0)
    message(FATAL_ERROR "the run-file type did not reach the database:\n${globs}")
  endif()
endif()
