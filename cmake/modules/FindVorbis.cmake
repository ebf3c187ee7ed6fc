# FindVorbis: libvorbisfile (decoding) and libvorbisenc (encoding, for the
# tests), with libvorbis and libogg beneath them.
#
# Imported targets, each linking the libraries it stands on:
#   Vorbis::vorbisfile   Vorbis::vorbisenc
# Result: Vorbis_FOUND, with Vorbis_vorbisfile_FOUND and Vorbis_vorbisenc_FOUND.
#
# Headers and libraries are looked up with find_path and find_library rather
# than pkg-config, so a cross build searches only its own root and never
# picks up the build machine's libraries.
include(FindPackageHandleStandardArgs)

find_path(Vorbis_INCLUDE_DIR vorbis/vorbisfile.h)
find_path(Ogg_INCLUDE_DIR ogg/ogg.h)
find_library(Ogg_LIBRARY NAMES ogg)
find_library(Vorbis_LIBRARY NAMES vorbis)
find_library(Vorbis_vorbisfile_LIBRARY NAMES vorbisfile)
find_library(Vorbis_vorbisenc_LIBRARY NAMES vorbisenc)
mark_as_advanced(Vorbis_INCLUDE_DIR Ogg_INCLUDE_DIR Ogg_LIBRARY Vorbis_LIBRARY
  Vorbis_vorbisfile_LIBRARY Vorbis_vorbisenc_LIBRARY)

foreach(part vorbisfile vorbisenc)
  if(Vorbis_${part}_LIBRARY AND Vorbis_LIBRARY AND Ogg_LIBRARY AND Vorbis_INCLUDE_DIR
     AND Ogg_INCLUDE_DIR)
    set(Vorbis_${part}_FOUND TRUE)
  else()
    set(Vorbis_${part}_FOUND FALSE)
  endif()
endforeach()

find_package_handle_standard_args(Vorbis
  REQUIRED_VARS Vorbis_vorbisfile_LIBRARY Vorbis_LIBRARY Ogg_LIBRARY Vorbis_INCLUDE_DIR
    Ogg_INCLUDE_DIR
  HANDLE_COMPONENTS)

if(Ogg_LIBRARY AND Ogg_INCLUDE_DIR AND NOT TARGET Vorbis::ogg)
  add_library(Vorbis::ogg UNKNOWN IMPORTED)
  set_target_properties(Vorbis::ogg PROPERTIES IMPORTED_LOCATION "${Ogg_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${Ogg_INCLUDE_DIR}")
endif()
if(Vorbis_LIBRARY AND TARGET Vorbis::ogg AND NOT TARGET Vorbis::vorbis)
  add_library(Vorbis::vorbis UNKNOWN IMPORTED)
  set_target_properties(Vorbis::vorbis PROPERTIES IMPORTED_LOCATION "${Vorbis_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${Vorbis_INCLUDE_DIR}" INTERFACE_LINK_LIBRARIES Vorbis::ogg)
endif()
foreach(part vorbisfile vorbisenc)
  if(Vorbis_${part}_FOUND AND NOT TARGET Vorbis::${part})
    add_library(Vorbis::${part} UNKNOWN IMPORTED)
    set_target_properties(Vorbis::${part} PROPERTIES
      IMPORTED_LOCATION "${Vorbis_${part}_LIBRARY}"
      INTERFACE_INCLUDE_DIRECTORIES "${Vorbis_INCLUDE_DIR}"
      INTERFACE_LINK_LIBRARIES Vorbis::vorbis)
  endif()
endforeach()
