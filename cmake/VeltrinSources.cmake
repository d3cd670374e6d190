# veltrin_keep_platform_sources(LIST_VAR): drops from a source list the files of the other platform.
# A back end sits beside its interface: *_win32.cpp builds only for Windows, *_posix.cpp only
# elsewhere, and the same holds for *_win32_test.cpp and *_posix_test.cpp.
function(veltrin_keep_platform_sources list_var)
  set(sources ${${list_var}})
  if(WIN32)
    list(FILTER sources EXCLUDE REGEX "_posix(_test)?\\.cpp$")
  else()
    list(FILTER sources EXCLUDE REGEX "_win32(_test)?\\.cpp$")
  endif()
  set(${list_var} ${sources} PARENT_SCOPE)
endfunction()
