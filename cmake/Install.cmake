# Installation of the water library and the H2O-NaCl model as a CMake package:
#
#   cmake --install <build> --prefix <P>
#
# puts the public headers under P/include/quarvessin/{water,model}, the
# libraries under P/lib (or the platform's library directory), the program
# under P/bin, and a package configuration under P/lib/cmake/quarvessin, so
# that another project writes
#
#   find_package(quarvessin REQUIRED)
#   target_link_libraries(app PRIVATE quarvessin::model)
#
# and gets the model with the water library it is built on.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# Exported as quarvessin::water and quarvessin::model; the same names work
# inside this build tree.
set_target_properties(quarvessin_water PROPERTIES EXPORT_NAME water)
set_target_properties(quarvessin_model PROPERTIES EXPORT_NAME model)
add_library(quarvessin::water ALIAS quarvessin_water)
add_library(quarvessin::model ALIAS quarvessin_model)

# The header directories match the INSTALL_INTERFACE include directories of
# the two targets (include/quarvessin/water, include/quarvessin/model).
set(QUARVESSIN_WATER_HEADER_DIR include/quarvessin/water)
set(QUARVESSIN_MODEL_HEADER_DIR include/quarvessin/model)
set(QUARVESSIN_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/quarvessin)

install(TARGETS quarvessin_water quarvessin_model
  EXPORT quarvessinTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS quarvessin_plotdata RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Only the interface of the water library is public; the headers of its
# internal parts stay in the source tree.
install(FILES ${PROJECT_SOURCE_DIR}/water/water.h
  DESTINATION ${QUARVESSIN_WATER_HEADER_DIR})

# One header per model class, plus the constant classes and the units.
set(_quarvessin_model_headers
  ${PROJECT_SOURCE_DIR}/model/WaterCriticalPoint.h
  ${PROJECT_SOURCE_DIR}/model/NaClTriplePoint.h
  ${PROJECT_SOURCE_DIR}/model/Stateless.h
  ${PROJECT_SOURCE_DIR}/model/ModelUnits.h)
foreach(cls IN LISTS QUARVESSIN_MODEL_CLASSES)
  list(APPEND _quarvessin_model_headers ${PROJECT_SOURCE_DIR}/model/${cls}.h)
endforeach()
install(FILES ${_quarvessin_model_headers}
  DESTINATION ${QUARVESSIN_MODEL_HEADER_DIR})

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
