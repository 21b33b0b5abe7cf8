# Each source folder is published on its own: a target that includes "capi/..." must link a library of
# the capi folder, so the link graph is also the include graph, and a header of a layer that a library
# does not depend on does not compile there.
#
#   tfm_publish(target folder)   the target and its users see src/<folder> as <folder>/
#
# A folder's include root is a directory in the build tree holding one link to src/<folder>. Where the
# host cannot make links (Windows without the developer setting) the folder is published through src/
# as a whole: the build works there, and the layering is checked by the Linux builds.
function(tfm_publish target folder)
  set(root "${CMAKE_BINARY_DIR}/include/${folder}")
  if(NOT EXISTS "${root}/${folder}")
    file(MAKE_DIRECTORY "${root}")
    file(CREATE_LINK "${PROJECT_SOURCE_DIR}/src/${folder}" "${root}/${folder}" RESULT failed SYMBOLIC)
    if(failed)
      set(root "${PROJECT_SOURCE_DIR}/src")
    endif()
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE "${root}")
  else()
    target_include_directories(${target} PUBLIC "${root}")
  endif()
endfunction()
