# AddressSanitizer and UndefinedBehaviorSanitizer for every target of the build when switched on.
if(LIKENTOR_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# ThreadSanitizer, for the tests of the code that runs on more than one thread (the batch runs and
# the portrait workers). It cannot be combined with AddressSanitizer.
if(LIKENTOR_THREAD_SANITIZE)
  if(LIKENTOR_SANITIZE)
    message(FATAL_ERROR "LIKENTOR_THREAD_SANITIZE and LIKENTOR_SANITIZE exclude each other")
  endif()
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

# The fuzzing build (fuzz/): every target is compiled with libFuzzer's coverage instrumentation and
# AddressSanitizer and UndefinedBehaviorSanitizer, so that the fuzzer sees into the libraries it
# drives and any fault stops it; the harnesses alone link libFuzzer's main (fuzz/CMakeLists.txt).
if(LIKENTOR_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "LIKENTOR_FUZZ needs Clang (-DCMAKE_CXX_COMPILER=clang++-16)")
  endif()
  if(LIKENTOR_SANITIZE OR LIKENTOR_THREAD_SANITIZE)
    message(FATAL_ERROR "LIKENTOR_FUZZ brings its own sanitizers: leave LIKENTOR_SANITIZE and "
                        "LIKENTOR_THREAD_SANITIZE off")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
