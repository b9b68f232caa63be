# Checks that each library includes only what its layer may use:
#   cmake -DSOURCE_DIR=<top> -DWIDGETS_DIR=<Qt's QtWidgets include dir> -P check_layers.cmake
# The linker catches a call into a library that is not linked, but not
# inline or constexpr data read from a header: this check does.

cmake_minimum_required(VERSION 3.25)

# The project's folders each library may include, itself first.
set(allowed_picture picture)
set(allowed_lessons lessons picture)
set(allowed_documents documents)
set(allowed_stage stage picture documents)
set(allowed_shell shell stage lessons picture documents)
set(allowed_classroom classroom shell stage lessons picture documents)
set(allowed_model model)
set(allowed_lab_window lab_window model stage lessons picture documents)
set(allowed_exercises exercises lab_window model stage lessons picture documents)
# Libraries that must build without Qt's widgets, and those without Qt at all.
set(no_widgets picture lessons documents)
set(no_qt model)
set(project_folders picture lessons documents stage shell classroom model lab_window exercises app tests bench fuzz)

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR is not set")
endif()

set(faults 0)
foreach(library IN ITEMS picture lessons documents stage shell classroom model lab_window exercises)
  # A library's tests keep to its layer too.
  file(GLOB_RECURSE files LIST_DIRECTORIES false
    ${SOURCE_DIR}/${library}/*.h ${SOURCE_DIR}/${library}/*.cpp
    ${SOURCE_DIR}/tests/${library}/*.h ${SOURCE_DIR}/tests/${library}/*.cpp)
  foreach(file IN LISTS files)
    file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    file(RELATIVE_PATH shown ${SOURCE_DIR} ${file})
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"].*" "\\1" header "${line}")
      string(REGEX REPLACE "/.*" "" folder "${header}")
      if(header MATCHES "/" AND folder IN_LIST project_folders)
        if(folder STREQUAL "tests" AND shown MATCHES "^tests/")
          continue()
        endif()
        if(NOT folder IN_LIST allowed_${library})
          message(SEND_ERROR "${shown}: ${library}/ may not include ${header}")
          math(EXPR faults "${faults} + 1")
        endif()
        continue()
      endif()
      if(library IN_LIST no_qt AND header MATCHES "^Q")
        message(SEND_ERROR "${shown}: ${library}/ is standard C++ only, yet includes ${header}")
        math(EXPR faults "${faults} + 1")
      endif()
      if(library IN_LIST no_widgets)
        get_filename_component(leaf "${header}" NAME)
        if(header MATCHES "^QtWidgets/" OR (WIDGETS_DIR AND EXISTS "${WIDGETS_DIR}/${leaf}"))
          message(SEND_ERROR "${shown}: ${library}/ may not use widgets, yet includes ${header}")
          math(EXPR faults "${faults} + 1")
        endif()
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults GREATER 0)
  message(FATAL_ERROR "${faults} include(s) cross the layers")
endif()
