# Warnings are on for every target of the project, and clean with g++ and clang.
add_library(kv_warnings INTERFACE)
target_compile_options(kv_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wnon-virtual-dtor -Woverloaded-virtual
  -Wcast-align -Wimplicit-fallthrough)
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  target_compile_options(kv_warnings INTERFACE -Wshadow-uncaptured-local)
else()
  # g++ 12 reports -Wrestrict for `"literal" + std::string&&` inside libstdc++ (a known false
  # positive of that release), so the check is off for g++.
  target_compile_options(kv_warnings INTERFACE -Wshadow=local -Wno-restrict)
endif()
if(KV_WERROR)
  target_compile_options(kv_warnings INTERFACE -Werror)
endif()

if(KV_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Libraries whose classes and resources register themselves when loaded must stay in a
# program's dependencies even when no code names a symbol of theirs: the toolchain's default
# --as-needed would drop them.
add_link_options(-Wl,--no-as-needed)

# lld links the large test binaries several times faster than the default linker.
find_program(KV_LLD ld.lld)
if(KV_LLD)
  add_link_options(-fuse-ld=lld)
endif()
