# Warnings for the project's own targets; third-party headers come in as
# system includes and stay quiet.
function(rmt4_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow)
  if(RMT4_WARNINGS_AS_ERRORS)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
