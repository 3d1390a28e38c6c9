# Flags shared by every core library: warnings, and sample arithmetic that is
# bit-exact on every machine (no fused multiply-add, plain double).
add_library(tb_options INTERFACE)
target_compile_options(tb_options INTERFACE -Wall -Wextra -Wpedantic -ffp-contract=off)
target_include_directories(tb_options INTERFACE ${PROJECT_SOURCE_DIR}/src)
if(TONBRISK_WERROR)
  target_compile_options(tb_options INTERFACE -Werror)
endif()

# Adds a core library from the sources of one folder.
function(tb_core_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_link_libraries(${name} PUBLIC tb_options ${ARG_DEPENDS})
endfunction()
