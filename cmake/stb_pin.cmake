# stb is compiled into the module (the PNG decoder, stb_image.h) and into the
# tools and tests (the PNG writer, stb_image_write.h, whose output is
# committed): another release of either changes the module's bytes or the
# committed pictures. The build takes them from Debian's libstb-dev, at the
# one version below (package=version, as apt-get takes it), and refuses any
# other copy.
set(STB_EXPECTED_PACKAGE "libstb-dev=0.0~git20220908.8b5f1f3+ds-1")
set(STB_EXPECTED_SHA256_stb_image.h
    91f435e0fc6a620018b878b9859c74dff60d28046f87e649191ad6f35a98c722)  # stb_image v2.27
set(STB_EXPECTED_SHA256_stb_image_write.h
    cbd5f0ad7a9cf4468affb36354a1d2338034f2c12473cf1a8e32053cb6914a05)  # stb_image_write v1.16

# Stops the configuration unless `folder` holds both headers as released in
# that package.
function(require_pinned_stb folder)
  foreach(header stb_image.h stb_image_write.h)
    set(path ${folder}/${header})
    if(NOT EXISTS ${path})
      message(FATAL_ERROR "${path} is missing: install ${STB_EXPECTED_PACKAGE} "
                          "(scripts/setup.sh), or set STB_INCLUDE_DIR to the folder holding it")
    endif()
    file(SHA256 ${path} found)
    if(NOT found STREQUAL STB_EXPECTED_SHA256_${header})
      message(FATAL_ERROR "${path} is not the release this build expects (${STB_EXPECTED_PACKAGE}):"
                          " its SHA-256 is ${found}, expected ${STB_EXPECTED_SHA256_${header}}."
                          " Another release would change the module's bytes: install that "
                          "release (apt-get install ${STB_EXPECTED_PACKAGE}), or set "
                          "STB_INCLUDE_DIR to a folder holding it")
    endif()
  endforeach()
endfunction()
