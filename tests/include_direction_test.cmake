# The core's rooms depend one way: kernels/ reads neither history/ nor anything outside the
# core; history/ reads nothing of app/, render/ or edit/. sim/, edit/ and picture/ include no Qt,
# so the core, its editing logic and its pictures build and test without a display or a toolkit.
function(check_folder folder forbidden why)
  file(GLOB_RECURSE files "${SOURCE}/${folder}/*.h" "${SOURCE}/${folder}/*.cpp")
  foreach(f IN LISTS files)
    file(STRINGS "${f}" includes REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS includes)
      if(line MATCHES "${forbidden}")
        file(RELATIVE_PATH rel "${SOURCE}" "${f}")
        message(SEND_ERROR "${rel}: ${line} (${why})")
      endif()
    endforeach()
  endforeach()
endfunction()

check_folder(sim/kernels "\"(sim/history|app|render|edit|prefs|tools)/" "kernels read only the model")
check_folder(sim/history "\"(app|render|edit|prefs|tools)/" "history reads only the core")
check_folder(sim "\"(app|render|edit|prefs|tools|picture)/" "the core reads nothing outside it")
check_folder(sim "<Q[A-Za-z]*>|<qopengl|<Qt" "the core is platform-free")
check_folder(edit "<Q[A-Za-z]*>|<qopengl|<Qt|\"(app|render|prefs)/" "editing logic is platform-free")
check_folder(picture "<Q[A-Za-z]*>|<qopengl|<Qt|\"(app|render|edit|prefs|tools)/"
             "pictures of a run are made without a toolkit or a display")
