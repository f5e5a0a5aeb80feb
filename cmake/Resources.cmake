# kv_add_resources(<target> NAME <name> TYPE <type> FILE <path> [NAME ... TYPE ... FILE ...])
#
# Compiles files into <target> as named resources (platform/streaming/resources.h): a generated
# source holds the bytes and registers them while the program starts. Names and types are
# identifiers (letters, digits, underscore). The target is a shared library or an executable
# (a static archive would drop the registration).
# A FILE may be the output of a custom command; the resources are rebuilt when it changes.
function(kv_add_resources target)
  set(entries "")
  set(files "")
  set(args ${ARGN})
  list(LENGTH args n)
  math(EXPR rem "${n} % 6")
  if(n EQUAL 0 OR NOT rem EQUAL 0)
    message(FATAL_ERROR "kv_add_resources(${target}): expected NAME <name> TYPE <type> FILE <path> triples")
  endif()
  math(EXPR last "${n} - 1")
  foreach(i RANGE 0 ${last} 6)
    math(EXPR i1 "${i} + 1")
    math(EXPR i2 "${i} + 2")
    math(EXPR i3 "${i} + 3")
    math(EXPR i4 "${i} + 4")
    math(EXPR i5 "${i} + 5")
    list(GET args ${i} kname)
    list(GET args ${i1} name)
    list(GET args ${i2} ktype)
    list(GET args ${i3} type)
    list(GET args ${i4} kfile)
    list(GET args ${i5} file)
    if(NOT kname STREQUAL "NAME" OR NOT ktype STREQUAL "TYPE" OR NOT kfile STREQUAL "FILE")
      message(FATAL_ERROR "kv_add_resources(${target}): expected NAME <name> TYPE <type> FILE <path>, got '${kname} ${name} ${ktype} ${type} ${kfile} ${file}'")
    endif()
    foreach(id ${name} ${type})
      if(NOT id MATCHES "^[A-Za-z_][A-Za-z0-9_]*$")
        message(FATAL_ERROR "kv_add_resources(${target}): '${id}' is not a valid resource name or type")
      endif()
    endforeach()
    if(NOT IS_ABSOLUTE "${file}")
      set(file "${CMAKE_CURRENT_SOURCE_DIR}/${file}")
    endif()
    list(APPEND entries "${name}|${type}|${file}")
    list(APPEND files "${file}")
  endforeach()
  set(out "${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.cpp")
  # The list of entries goes to the generator through a file: one "name|type|path" per line.
  set(manifest "${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.txt")
  string(REPLACE ";" "\n" lines "${entries}")
  file(CONFIGURE OUTPUT "${manifest}" CONTENT "${lines}\n" @ONLY)
  add_custom_command(OUTPUT "${out}"
    COMMAND ${CMAKE_COMMAND} "-DOUT=${out}" "-DMANIFEST=${manifest}" -P "${KV_ROOT}/cmake/EmbedResources.cmake"
    DEPENDS ${files} "${manifest}" "${KV_ROOT}/cmake/EmbedResources.cmake"
    COMMENT "Compiling resources of ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE "${out}")
  target_link_libraries(${target} PRIVATE kv_streaming)
endfunction()
