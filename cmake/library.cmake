# One static library per source folder: the folder's own .cpp files, those of
# its SUBFOLDERS, and those of the PLATFORM_FOLDER its build picks (posix/ or
# win32/). A PORTABLE folder is built for every platform: its headers and
# those of its subfolders must compile after <windows.h>, which a unit test
# checks with the list this keeps (TUNEWRIGHT_PORTABLE_FOLDERS).
function(tunewright_library name)
  cmake_parse_arguments(ARG "PORTABLE" "PLATFORM_FOLDER" "SUBFOLDERS;LINK" ${ARGN})
  file(RELATIVE_PATH here ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(sources)
  set(folders ${here})
  foreach(sub ${ARG_SUBFOLDERS})
    list(APPEND folders ${here}/${sub})
  endforeach()
  foreach(folder ${folders} ${here}/${ARG_PLATFORM_FOLDER})
    file(GLOB found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_LINK})
  tunewright_warnings(${name})
  if(ARG_PORTABLE)
    set_property(GLOBAL APPEND PROPERTY TUNEWRIGHT_PORTABLE_FOLDERS ${folders})
  endif()
endfunction()
