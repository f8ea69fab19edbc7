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
