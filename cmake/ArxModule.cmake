# add_arx_module(NAME RC rcfile SOURCES ...)
# Builds a plug-in module NAME.arx (a shared object) against the platform headers and carries
# its resource script inside the module file: the .rc text, with the header files it includes,
# is compiled into the module as data that the platform's resource loader reads at run time.
function(add_arx_module name)
  cmake_parse_arguments(ARX "" "RC" "SOURCES" ${ARGN})
  add_library(${name} MODULE ${ARX_SOURCES})
  set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".arx")
  target_link_libraries(${name} PRIVATE platform)
  if(ARX_RC AND EXISTS ${CMAKE_SOURCE_DIR}/cmake/EmbedResources.cmake)
    get_filename_component(rc_abs ${ARX_RC} ABSOLUTE)
    set(embedded ${CMAKE_CURRENT_BINARY_DIR}/${name}_resources.cpp)
    add_custom_command(
      OUTPUT ${embedded}
      COMMAND ${CMAKE_COMMAND} -DRC=${rc_abs} -DOUT=${embedded} -P ${CMAKE_SOURCE_DIR}/cmake/EmbedResources.cmake
      DEPENDS ${rc_abs} ${CMAKE_SOURCE_DIR}/cmake/EmbedResources.cmake
      COMMENT "Embedding resource script ${ARX_RC} into ${name}.arx"
      VERBATIM)
    target_sources(${name} PRIVATE ${embedded})
  endif()
endfunction()
