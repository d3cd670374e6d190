# veltrin_public_headers(TARGET): TARGET exports the headers of its own folder and nothing else,
# under the folder's path from the repository root, so that "core/utf8.h" and
# "controls/base/window/window.h" read the same everywhere. The build tree gets
# include/TARGET/<folder> as a link to the source folder; installed headers keep the same paths
# under include/.
function(veltrin_public_headers target)
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(root ${PROJECT_BINARY_DIR}/include/${target})
  get_filename_component(parent ${root}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)
  target_include_directories(${target} PUBLIC $<BUILD_INTERFACE:${root}>
                             $<INSTALL_INTERFACE:include>)
endfunction()
