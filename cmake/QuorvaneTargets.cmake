# Shared settings for every target of the project.

function(quorvane_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(QUORVANE_FUZZ)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined,fuzzer-no-link)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# Collects the .cpp files of the given folders (relative to the caller).
# New files join the build without editing a list, which keeps parallel
# work on one library free of merge conflicts in its CMakeLists.
function(quorvane_sources out)
  set(result)
  foreach(dir IN LISTS ARGN)
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND result ${found})
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()
