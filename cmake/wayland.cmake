# Wayland protocols for the native programs: takes protocol descriptions (ours in
# wayland/protocols, the system's from wayland-protocols) and gives, per set, a static
# library of the code wayland-scanner generates at build time, with its client headers.
#
#   tuvo_wayland_protocols(TARGET XML...)  a library TARGET whose users include
#                                          "NAME-client-protocol.h" for each NAME.xml
#   TUVO_WAYLAND_FOUND                     set when libwayland-client and wayland-scanner
#                                          are there (otherwise nothing is defined)
#   TUVO_WAYLAND_PROTOCOLS_DIR             the system's protocol folder (pkgdatadir)
find_package(PkgConfig QUIET)
set(TUVO_WAYLAND_FOUND OFF)
if(PKG_CONFIG_FOUND)
  pkg_check_modules(WAYLAND_CLIENT QUIET IMPORTED_TARGET wayland-client)
  pkg_check_modules(WAYLAND_PROTOCOLS QUIET wayland-protocols)
  pkg_get_variable(TUVO_WAYLAND_SCANNER_FROM_PC wayland-scanner wayland_scanner)
endif()
find_program(TUVO_WAYLAND_SCANNER NAMES wayland-scanner HINTS "${TUVO_WAYLAND_SCANNER_FROM_PC}")
if(WAYLAND_CLIENT_FOUND AND WAYLAND_PROTOCOLS_FOUND AND TUVO_WAYLAND_SCANNER)
  pkg_get_variable(TUVO_WAYLAND_PROTOCOLS_DIR wayland-protocols pkgdatadir)
  set(TUVO_WAYLAND_FOUND ON)
else()
  message(STATUS "Wayland: libwayland-dev, libwayland-bin or wayland-protocols missing; "
                 "the Wayland protocols and tests are not built")
endif()

function(tuvo_wayland_protocols target)
  set(out_dir "${CMAKE_CURRENT_BINARY_DIR}/${target}")
  set(sources "")
  set(headers "")
  foreach(xml IN LISTS ARGN)
    get_filename_component(name "${xml}" NAME_WE)
    set(header "${out_dir}/${name}-client-protocol.h")
    set(code "${out_dir}/${name}-protocol.c")
    add_custom_command(
      OUTPUT "${header}" "${code}"
      COMMAND "${CMAKE_COMMAND}" -E make_directory "${out_dir}"
      COMMAND "${TUVO_WAYLAND_SCANNER}" client-header "${xml}" "${header}"
      COMMAND "${TUVO_WAYLAND_SCANNER}" private-code "${xml}" "${code}"
      DEPENDS "${xml}"
      COMMENT "wayland-scanner ${name}"
      VERBATIM)
    list(APPEND sources "${code}")
    list(APPEND headers "${header}")
  endforeach()
  add_library(${target} STATIC ${sources} ${headers})
  set_target_properties(${target} PROPERTIES LINKER_LANGUAGE C POSITION_INDEPENDENT_CODE ON)
  target_include_directories(${target} PUBLIC "${out_dir}")
  target_link_libraries(${target} PUBLIC PkgConfig::WAYLAND_CLIENT)
endfunction()
