include(CMakePackageConfigHelpers)

# The host stand-ins travel with the library: it imports them at load.
install(TARGETS quillon OrvBaseR HalyardR EXPORT quillonTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/quillon DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

install(EXPORT quillonTargets NAMESPACE quillon:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/quillon)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/quillonConfig.cmake.in
  ${PROJECT_BINARY_DIR}/quillonConfig.cmake INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/quillon)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/quillonConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/quillonConfig.cmake ${PROJECT_BINARY_DIR}/quillonConfigVersion.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/quillon)

file(RELATIVE_PATH QUILLON_PC_TO_PREFIX "/prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/prefix")
configure_file(${PROJECT_SOURCE_DIR}/cmake/quillon.pc.in ${PROJECT_BINARY_DIR}/quillon.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/quillon.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
