# Precompiled headers: most of a Morvane source file's compile time went to
# parsing the same library headers again (the JSON library, GoogleTest, Qt), so
# each target parses them once. Off for a build that wants to prove every file
# includes what it uses (-DMORVANE_PCH=OFF).
option(MORVANE_PCH "Precompile the library headers most source files include" ON)

set(MORVANE_PCH_STD <algorithm> <cstdint> <functional> <map> <memory> <optional> <string> <string_view>
                    <unordered_map> <vector>)

# morvane_precompile(target [headers...]): the standard headers above and the given ones.
function(morvane_precompile target)
  if(MORVANE_PCH)
    target_precompile_headers(${target} PRIVATE ${MORVANE_PCH_STD} ${ARGN})
  endif()
endfunction()
