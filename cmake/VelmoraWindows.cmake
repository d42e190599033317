# Windows executables keep text in UTF-8 as on Linux: their manifest makes
# UTF-8 the active code page, so that file names, arguments and the
# environment reach the program's byte strings (and the C runtime's fopen)
# unchanged. Does nothing on other systems.
if(WIN32)
  enable_language(RC)
endif()

function(velmora_windows_executable target)
  if(WIN32)
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/windows/utf8.rc)
  endif()
endfunction()
