# One static library per folder of src/, exporting only that folder's headers.
#
#   torvane_library(<target> <folder> <sources>...)
#
# The headers are included as <folder>/name.h. Each folder gets an include root of its own in the build
# tree holding one link, <folder> -> src/<folder>, so a target reaches another folder's headers only
# through a declared link edge (target_link_libraries), never by accident. Warnings are errors in the
# project's own code.
function(torvane_library target folder)
  add_library(${target} STATIC ${ARGN})
  set(root ${PROJECT_BINARY_DIR}/include/${folder})
  if(NOT EXISTS ${root}/${folder})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC ${root})
  torvane_strict(${target})
endfunction()

# Warnings are errors in the project's own targets.
function(torvane_strict target)
  if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
