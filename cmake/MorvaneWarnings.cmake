# Warning flags for Morvane's own targets. They are PRIVATE so that nothing
# that links a Morvane library inherits them.
function(morvane_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                           -Wno-sign-conversion -Wnon-virtual-dtor)
  # GCC 12 at -O3 takes the copies inside std::string's operator+ for
  # overlapping ones (GCC bug 105329, fixed in GCC 13): a false positive in the
  # standard library, not in this code, so the optimised build leaves it out.
  # The same family of bugs (105651) reports a string built with operator+ as
  # written out of bounds wherever the inliner sees far enough into it, which
  # precompiled headers make it do at -O2 too; Clang's builds keep both warnings.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12
     AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE $<$<CONFIG:Release>:-Wno-restrict> -Wno-array-bounds
                           -Wno-stringop-overflow)
  endif()
  if(MORVANE_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
