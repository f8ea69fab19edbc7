# The warnings every target of our own code is built with; third-party headers come in as system
# headers. With LIKENTOR_WERROR (our development builds and CI) they are errors; a plain build of
# the project, with another compiler version or other flags, only reports them.
function(likentor_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                           -Wold-style-cast -Wcast-align -Woverloaded-virtual
                                           -Wimplicit-fallthrough)
  if(LIKENTOR_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
