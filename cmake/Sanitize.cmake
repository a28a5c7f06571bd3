if(KESTROVA_SANITIZE)
  set(_kestrova_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${_kestrova_san})
  add_link_options(${_kestrova_san})
  # Light optimisation and line tables only: the sanitized builds exist to run the suites, and
  # this halves their compile time while reports still name files and lines.
  add_compile_options(-O1 -g1)
endif()

# ThreadSanitizer, for the engine and its suites: it cannot be combined with the sanitizers
# above, and the Qt parts are left out (Qt itself is not built with it).
option(KESTROVA_THREAD_SANITIZE "Build the engine and its suites with ThreadSanitizer (no GUI)" OFF)
if(KESTROVA_THREAD_SANITIZE)
  if(KESTROVA_SANITIZE)
    message(FATAL_ERROR "KESTROVA_THREAD_SANITIZE and KESTROVA_SANITIZE cannot be combined")
  endif()
  if(KESTROVA_BUILD_GUI)
    message(STATUS "KESTROVA_THREAD_SANITIZE: building without the Qt parts")
    set(KESTROVA_BUILD_GUI OFF CACHE BOOL "Build the Qt parts: platform layer, profiles, windows" FORCE)
  endif()
  set(_kestrova_tsan -fsanitize=thread -fno-omit-frame-pointer)
  add_compile_options(${_kestrova_tsan} -O1 -g1)
  add_link_options(${_kestrova_tsan})
endif()
