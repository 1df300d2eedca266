# Turns gettext catalogues (<directory>/<language>/*.po) into a C++ source file,
# so the program never depends on where it is started from. Each part of the
# program with texts of its own (the engine, an application) embeds its own set
# under a function name of its own; all are read by the engine's CatalogueSet.
#
# Included by a CMakeLists.txt, this file defines
#   morvane_embed_catalogues(<output-variable> DIRECTORY <dir> FUNCTION <qualified name>)
# which sets <output-variable> to the generated source to compile. Run as a
# script it generates that source:
#   cmake -DOUTPUT=... -DFUNCTION=ns::name -DINPUTS="lang=path;..." -P EmbedTranslations.cmake
if(CMAKE_SCRIPT_MODE_FILE)
  string(REGEX MATCH "^(.*)::([^:]+)$" qualified "${FUNCTION}")
  set(namespace "${CMAKE_MATCH_1}")
  set(name "${CMAKE_MATCH_2}")
  set(body "// Generated from the .po catalogues; do not edit.\n#include \"engine/support/EmbeddedTranslations.h\"\n\nnamespace ${namespace} {\nnamespace {\n")
  set(table "")
  set(index 0)
  foreach(pair IN LISTS INPUTS)
    string(REPLACE "=" ";" parts "${pair}")
    list(GET parts 0 language)
    list(GET parts 1 path)
    file(READ "${path}" hex HEX)
    string(LENGTH "${hex}" hex_length)
    math(EXPR size "${hex_length} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
    string(APPEND body "const char kCatalogue${index}[] = {${bytes}'\\0'};\n")
    string(APPEND table "    {\"${language}\", {kCatalogue${index}, ${size}}},\n")
    math(EXPR index "${index} + 1")
  endforeach()
  string(APPEND body "} // namespace\n\nstd::vector<morvane::detail::EmbeddedCatalogue> ${name}() {\n  return {\n${table}  };\n}\n\n} // namespace ${namespace}\n")
  file(WRITE "${OUTPUT}.tmp" "${body}")
  file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
  file(REMOVE "${OUTPUT}.tmp")
  return()
endif()

set(MORVANE_EMBED_TRANSLATIONS_SCRIPT "${CMAKE_CURRENT_LIST_FILE}")

function(morvane_embed_catalogues output_variable)
  cmake_parse_arguments(PARSE_ARGV 1 EMBED "" "DIRECTORY;FUNCTION" "")
  file(GLOB_RECURSE catalogues CONFIGURE_DEPENDS "${EMBED_DIRECTORY}/*.po")
  list(SORT catalogues)
  set(inputs "")
  foreach(po IN LISTS catalogues)
    get_filename_component(language_dir "${po}" DIRECTORY)
    get_filename_component(language "${language_dir}" NAME)
    list(APPEND inputs "${language}=${po}")
  endforeach()
  string(REGEX REPLACE "[^A-Za-z0-9]+" "_" file_stem "${EMBED_FUNCTION}")
  set(output "${CMAKE_CURRENT_BINARY_DIR}/${file_stem}.cpp")
  add_custom_command(
    OUTPUT "${output}"
    COMMAND "${CMAKE_COMMAND}" "-DOUTPUT=${output}" "-DFUNCTION=${EMBED_FUNCTION}" "-DINPUTS=${inputs}"
            -P "${MORVANE_EMBED_TRANSLATIONS_SCRIPT}"
    DEPENDS ${catalogues} "${MORVANE_EMBED_TRANSLATIONS_SCRIPT}"
    COMMENT "Embedding the translation catalogues of ${EMBED_DIRECTORY}"
    VERBATIM)
  set(${output_variable} "${output}" PARENT_SCOPE)
endfunction()
