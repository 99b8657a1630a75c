# Compiler settings shared by every target.
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_EXPORT_COMPILE_COMMANDS ON)
if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
  set(CMAKE_BUILD_TYPE Release CACHE STRING "Build type" FORCE)
endif()

add_compile_options(-Wall -Wextra -Wpedantic)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # g++ 12 reports false -Wrestrict positives inside inlined std::string code.
  add_compile_options(-Wno-restrict)
endif()
if(CURVENEST_WERROR)
  add_compile_options(-Werror)
endif()

if(CURVENEST_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(CURVENEST_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

# The version is defined once, in project(); windows read it from this header.
configure_file(${CMAKE_SOURCE_DIR}/cmake/curvenest_version.h.in
               ${CMAKE_BINARY_DIR}/generated/curvenest_version.h @ONLY)

# A target sees only the headers of the modules it links: each module exposes
# its own folder through an include root of its own in the build tree, so
# `#include "engine/x.h"` compiles only where cn_engine is linked and an
# include across an arrow the wrong way fails the build.
function(cn_module_headers target module)
  set(root ${CMAKE_BINARY_DIR}/include/${module})
  # A module in a subfolder (workspace/model) needs the folders above its link.
  get_filename_component(parent ${root}/${module} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${module} ${root}/${module} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${root})
endfunction()
