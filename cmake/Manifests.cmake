# The package managers' manifests of a release (tools/make-manifests.py), written beside the zip
# and the setup from those very files: a winget multi-file manifest of the setup under winget/,
# a Scoop manifest of the zip under scoop/, and the license.txt both link to. `make package`
# builds the target `manifests` after `package`, so that they describe the final files.
#
# A release lies on the maker's web server under one folder per version:
#   https://<LOCKBEACON_SERVER_HOST><LOCKBEACON_RELEASE_PATH>/<major>.<minor>/<file>
# and the folder <LOCKBEACON_RELEASE_PATH>/ itself lists the releases (Scoop's checkver reads it).
set(LOCKBEACON_RELEASE_PATH "/download/lock-beacon" CACHE STRING
    "Folder of the releases on the maker's web server")

# Debian's own Python, which has python3-yaml and python3-jsonschema (tools/setup.sh).
set(LOCKBEACON_PYTHON3 /usr/bin/python3)

# Defines the target `manifests` for the zip `zip` and the setup `setup` (empty: none), and
# LOCKBEACON_MANIFEST_ARGS, the generator's arguments that do not name files of one package (the
# test of the manifests runs the generator with them on a package of its own).
function(lockbeacon_add_manifests zip setup)
  set(args --nsi ${PROJECT_SOURCE_DIR}/installer/lock_beacon.nsi
           --license ${PROJECT_SOURCE_DIR}/resources/deliver/license.txt
           --host ${LOCKBEACON_SERVER_HOST} --release-path ${LOCKBEACON_RELEASE_PATH})
  set(LOCKBEACON_MANIFEST_ARGS ${args} PARENT_SCOPE)
  if(setup)
    list(APPEND args --setup ${setup})
  endif()
  get_filename_component(out ${zip} DIRECTORY)
  add_custom_target(manifests
    COMMAND ${LOCKBEACON_PYTHON3} ${PROJECT_SOURCE_DIR}/tools/make-manifests.py
            --zip ${zip} ${args} --out ${out}
    COMMENT "Writing the winget and Scoop manifests beside the zip and the setup"
    VERBATIM)
endfunction()
