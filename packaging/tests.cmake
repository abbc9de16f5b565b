# Builds the Debian package as `make package` does and checks it. Included
# from tests/CMakeLists.txt; the package is built in a Release folder of its
# own inside this build folder, never with this build's sanitizer flags.
set(VISTREL_PACKAGE_DIR ${CMAKE_BINARY_DIR}/package-build)
set(VISTREL_PACKAGE_SCRIPTS ${PROJECT_SOURCE_DIR}/packaging)

add_test(NAME package_build COMMAND ${VISTREL_PACKAGE_SCRIPTS}/build-package.sh
                                    ${PROJECT_SOURCE_DIR} ${VISTREL_PACKAGE_DIR})
set_tests_properties(package_build PROPERTIES FIXTURES_SETUP vistrel_package TIMEOUT 1800)

foreach(check contents lintian desktop appstream runs completion)
    add_test(NAME package_${check} COMMAND ${VISTREL_PACKAGE_SCRIPTS}/check-package.sh ${check}
                                           ${VISTREL_PACKAGE_DIR})
    set_tests_properties(package_${check} PROPERTIES FIXTURES_REQUIRED vistrel_package
                                                     TIMEOUT 600)
endforeach()
