# Installation of the libraries with their headers, data and programs, the exported CMake package and
# its pkg-config file, and a Debian package of the same installation (cpack -G DEB).
include(CMakePackageConfigHelpers)

set(QX_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/QX_Flow)
install(EXPORT QX_FlowTargets NAMESPACE QX_Flow:: DESTINATION ${QX_CMAKE_DIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/QX_FlowConfig.cmake.in
    ${CMAKE_BINARY_DIR}/QX_FlowConfig.cmake INSTALL_DESTINATION ${QX_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/QX_FlowConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/QX_FlowConfig.cmake ${CMAKE_BINARY_DIR}/QX_FlowConfigVersion.cmake
    DESTINATION ${QX_CMAKE_DIR})

# pkg-config for builds without CMake, beside the CMake package.
set(QX_PC_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
file(RELATIVE_PATH QX_PC_TO_PREFIX /root/${QX_PC_DIR} /root)
string(REGEX REPLACE "/$" "" QX_PC_TO_PREFIX "${QX_PC_TO_PREFIX}")
foreach(pc qxflow qxflow-widgets)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/${pc}.pc.in ${CMAKE_BINARY_DIR}/${pc}.pc @ONLY)
    install(FILES ${CMAKE_BINARY_DIR}/${pc}.pc DESTINATION ${QX_PC_DIR})
endforeach()

set(CPACK_PACKAGE_NAME qxflow)
set(CPACK_PACKAGE_VENDOR "QX_Flow developers")
set(CPACK_PACKAGE_CONTACT "QX_Flow developers <qxflow@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Flow wizard view for calorimetric flow monitors, with the console qxflow-run")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
# What the libraries and the programs load at run time (the console draws exported charts with
# Qt Gui; the widget library and the window need Qt Widgets);
# integrators build with the compiler they have.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6 (>= 2.34), libstdc++6 (>= 12), libgcc-s1, libsqlite3-0 (>= 3.31), libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), fonts-dejavu-core, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cmake (>= 3.25), g++")
include(CPack)
