# Installation of the water library and the H2O-NaCl model as a CMake package:
#
#   cmake --install <build> --prefix <P>
#
# puts the public headers under P/include/quarvessin (section.h, kinds.h,
# style.h, format.h, point.h, phase_state.h, isopleth.h, inclusion.h,
# surfaces.h, composition.h, water.h and model/<Class>.h), the
# libraries under P/lib (or the platform's library directory), the program
# under P/bin, and a package configuration under P/lib/cmake/quarvessin, so
# that another project writes
#
#   find_package(quarvessin REQUIRED)
#   target_link_libraries(app PRIVATE quarvessin::engine)
#
# and includes <quarvessin/section.h> for sections, or links quarvessin::model
# alone for the correlation classes with the water library they are built on.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# Exported as quarvessin::water and quarvessin::model; the same names work
# inside this build tree.
set_target_properties(quarvessin_water PROPERTIES EXPORT_NAME water)
set_target_properties(quarvessin_model PROPERTIES EXPORT_NAME model)
set_target_properties(quarvessin_engine PROPERTIES EXPORT_NAME engine)
add_library(quarvessin::water ALIAS quarvessin_water)
add_library(quarvessin::model ALIAS quarvessin_model)
add_library(quarvessin::engine ALIAS quarvessin_engine)

set(QUARVESSIN_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/quarvessin)

install(TARGETS quarvessin_water quarvessin_model quarvessin_engine
  EXPORT quarvessinTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS quarvessin_plotdata RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The command line (built where CLI11 and nlohmann-json are found) and the plot
# script beside it: the script computes its sections with the program next to it.
if(TARGET quarvessin)
  install(TARGETS quarvessin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(PROGRAMS ${PROJECT_SOURCE_DIR}/scripts/plot_section DESTINATION ${CMAKE_INSTALL_BINDIR})

# The public headers: everything under include/quarvessin. The water
# library's internal headers and the engine's stay in the source tree.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/quarvessin
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
  FILES_MATCHING PATTERN "*.h")

install(EXPORT quarvessinTargets
  NAMESPACE quarvessin::
  DESTINATION ${QUARVESSIN_CMAKE_DIR})
configure_package_config_file(
  ${CMAKE_CURRENT_LIST_DIR}/quarvessinConfig.cmake.in
  ${PROJECT_BINARY_DIR}/quarvessinConfig.cmake
  INSTALL_DESTINATION ${QUARVESSIN_CMAKE_DIR})
write_basic_package_version_file(
  ${PROJECT_BINARY_DIR}/quarvessinConfigVersion.cmake
  VERSION ${PROJECT_VERSION}
  COMPATIBILITY SameMajorVersion)
install(FILES
  ${PROJECT_BINARY_DIR}/quarvessinConfig.cmake
  ${PROJECT_BINARY_DIR}/quarvessinConfigVersion.cmake
  DESTINATION ${QUARVESSIN_CMAKE_DIR})
