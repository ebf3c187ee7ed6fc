# Runs inside cpack before the package is made: without dpkg-shlibdeps CPack
# would write a package whose Depends lists nothing, so stop instead.
find_program(VANTREL_SHLIBDEPS dpkg-shlibdeps)
if(NOT VANTREL_SHLIBDEPS)
  message(FATAL_ERROR "dpkg-shlibdeps is missing, so the package's Depends cannot be computed: "
                      "install the Debian package dpkg-dev")
endif()
