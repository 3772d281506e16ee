# How the libraries are installed and consumed: `cmake --install build
# --prefix P` puts them under P/lib with their SONAMEs, their headers under
# P/include/kelsafe (the include folder, so "toolkit/core/x.h" and
# "kelgrid/grid/x.h" keep working), a CMake package (find_package(kelgrid)
# gives kelgrid::kelgrid, kelgrid::toolkit and kelgrid::langman) and
# pkg-config files (kelgrid.pc requiring toolkit.pc requiring Qt6Widgets).
# Nothing of the tests, the benchmarks or the host program is installed.
include(CMakePackageConfigHelpers)

set(KS_INSTALLED_LIBRARIES toolkit kelgrid langman safekeep)
set_target_properties(${KS_INSTALLED_LIBRARIES} PROPERTIES
  VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})

install(TARGETS toolkit kelgrid langman EXPORT kelgridTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
# The backup library is loaded by path and called through its one C entry,
# so it has no target for users to link.
install(TARGETS safekeep LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})

# The toolkit's and the grid package's public headers include their inner
# ones (the private parts "_p.h" too), so both trees go whole. Of the backup
# side only the language manager is public: the host hands one to the
# backup library.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/toolkit ${PROJECT_SOURCE_DIR}/kelgrid
  DESTINATION ${KS_INSTALL_INCLUDEDIR} FILES_MATCHING PATTERN "*.h")
install(DIRECTORY ${PROJECT_SOURCE_DIR}/safekeep/langman
  DESTINATION ${KS_INSTALL_INCLUDEDIR}/safekeep FILES_MATCHING PATTERN "*.h")

set(KS_CMAKE_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/kelgrid)
install(EXPORT kelgridTargets NAMESPACE kelgrid:: DESTINATION ${KS_CMAKE_PACKAGE_DIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/kelgridConfig.cmake.in
  ${PROJECT_BINARY_DIR}/package/kelgridConfig.cmake INSTALL_DESTINATION ${KS_CMAKE_PACKAGE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/package/kelgridConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/package/kelgridConfig.cmake
  ${PROJECT_BINARY_DIR}/package/kelgridConfigVersion.cmake DESTINATION ${KS_CMAKE_PACKAGE_DIR})

# The pkg-config files find the prefix from their own place, so they stay
# right under whatever prefix `cmake --install --prefix` is given.
set(KS_PKGCONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
file(RELATIVE_PATH KS_PKGCONFIG_TO_PREFIX /prefix/${KS_PKGCONFIG_DIR} /prefix)
foreach(pc toolkit kelgrid)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/${pc}.pc.in ${PROJECT_BINARY_DIR}/package/${pc}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/package/${pc}.pc DESTINATION ${KS_PKGCONFIG_DIR})
endforeach()
