# Runs iconforge twice into WORK_DIR and compares the two runs with each other
# and with the committed files in IMAGES_DIR and IMAGES_RC. A stale committed
# file, a file iconforge no longer makes and a file it makes that nobody
# committed all fail.
cmake_minimum_required(VERSION 3.25)

foreach(var ICONFORGE WORK_DIR IMAGES_DIR IMAGES_RC)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "compare_outputs.cmake needs -D${var}=...")
  endif()
endforeach()

file(REMOVE_RECURSE ${WORK_DIR})
foreach(run first second)
  execute_process(COMMAND ${ICONFORGE} ${WORK_DIR}/${run}/images ${WORK_DIR}/${run}/images.rc
                  RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "iconforge failed (${result})")
  endif()
endforeach()

file(GLOB made RELATIVE ${WORK_DIR}/first/images ${WORK_DIR}/first/images/*)
file(GLOB committed RELATIVE ${IMAGES_DIR} ${IMAGES_DIR}/*)
list(SORT made)
list(SORT committed)

set(problems)
foreach(name ${committed})
  if(NOT name IN_LIST made)
    list(APPEND problems "${name} is committed but iconforge does not make it")
  endif()
endforeach()

macro(compare made_file second_file committed_file label)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${made_file} ${second_file}
                  RESULT_VARIABLE differs)
  if(NOT differs EQUAL 0)
    list(APPEND problems "${label} differs between two runs of iconforge")
  endif()
  if(NOT EXISTS ${committed_file})
    list(APPEND problems "${label} is not committed")
  else()
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${made_file} ${committed_file}
                    RESULT_VARIABLE differs)
    if(NOT differs EQUAL 0)
      list(APPEND problems "${label} differs from the committed copy")
    endif()
  endif()
endmacro()

foreach(name ${made})
  compare(${WORK_DIR}/first/images/${name} ${WORK_DIR}/second/images/${name} ${IMAGES_DIR}/${name} ${name})
endforeach()
compare(${WORK_DIR}/first/images.rc ${WORK_DIR}/second/images.rc ${IMAGES_RC} images.rc)

list(LENGTH made count)
if(problems)
  string(REPLACE ";" "\n  " text "${problems}")
  message(FATAL_ERROR "Resource images are out of date:\n  ${text}\n"
                      "Regenerate them with: iconforge src/resources/images src/resources/images.rc")
endif()
message(STATUS "${count} images and images.rc match the committed copies")
