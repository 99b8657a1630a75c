# Compiler settings shared by every target.
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_EXPORT_COMPILE_COMMANDS ON)
if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
  set(CMAKE_BUILD_TYPE Release CACHE STRING "Build type" FORCE)
endif()

add_compile_options(-Wall -Wextra -Wpedantic)

if(CURVENEST_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# The version is defined once, here and in project(); windows read it from this header.
set(CURVENEST_VERSION_MAJOR ${PROJECT_VERSION_MAJOR})
set(CURVENEST_VERSION_MINOR ${PROJECT_VERSION_MINOR})
set(CURVENEST_VERSION_BUILD ${PROJECT_VERSION_PATCH})
