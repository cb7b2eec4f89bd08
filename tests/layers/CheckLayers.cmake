# The layers of src/ as DESIGN.md's layout sets them: every folder includes
# headers of its own layer and of the layers below it only, and the data side
# (platform/core, platform/db, and src/data outside its forms, frm*) includes no
# widget header. Run with
#   cmake -DSOURCE_DIR=<a src folder> -DWIDGET_HEADERS_DIR=<Qt's QtWidgets folder>
#         [-DEXPECTED=<file>] -P CheckLayers.cmake
# Without EXPECTED it fails listing every violation; with it, it fails unless
# the violations are exactly the file's lines (the check's own test).

cmake_minimum_required(VERSION 3.25)

# What a folder may include, by the folder of the included header. A folder
# is a first-level folder of src/, or platform/<part>, or controls (all of
# controls/*, which may use each other).
set(allowed_platform_core platform/core)
set(allowed_platform_db platform/core platform/db)
set(allowed_platform_xlsx platform/core platform/ui platform/xlsx)
set(allowed_platform_util platform/core platform/db platform/util)
set(allowed_platform_ui platform/core platform/util platform/ui)
set(platform_all platform/core platform/db platform/xlsx platform/util platform/ui)
set(allowed_common ${platform_all} common)
set(allowed_data ${allowed_common} data)
set(allowed_export ${allowed_data} export)
set(allowed_json ${allowed_data} json)
set(allowed_controls ${allowed_data} export json controls)
set(allowed_app ${allowed_controls} app)

# The folder (as above) of a path relative to src/.
function(layer_of path out)
  if(path MATCHES "^platform/([^/]+)/")
    set(${out} "platform/${CMAKE_MATCH_1}" PARENT_SCOPE)
  elseif(path MATCHES "^([^/]+)/")
    set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
  else()
    set(${out} "" PARENT_SCOPE)
  endif()
endfunction()

# Whether files of this path must not include widget headers.
function(widget_free path out)
  set(free FALSE)
  if(path MATCHES "^platform/(core|db)/")
    set(free TRUE)
  elseif(path MATCHES "^data/" AND NOT path MATCHES "^data/frm[^/]*$")
    set(free TRUE)
  endif()
  set(${out} ${free} PARENT_SCOPE)
endfunction()

file(GLOB widget_names RELATIVE "${WIDGET_HEADERS_DIR}" "${WIDGET_HEADERS_DIR}/*")
if(NOT widget_names)
  message(FATAL_ERROR "no widget headers found in \"${WIDGET_HEADERS_DIR}\"")
endif()
list(APPEND widget_names QtWidgets)

file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
list(SORT sources)
set(violations)
foreach(source IN LISTS sources)
  layer_of("${source}" layer)
  string(REPLACE "/" "_" key "${layer}")
  if(NOT DEFINED allowed_${key})
    list(APPEND violations "${source}: the folder ${layer} is not a layer")
    continue()
  endif()
  widget_free("${source}" free)
  file(STRINGS "${SOURCE_DIR}/${source}" lines REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS lines)
    if(line MATCHES "include[ \t]*\"([^\"]+)\"")
      set(header "${CMAKE_MATCH_1}")
      layer_of("${header}" target)
      if(target AND NOT target IN_LIST allowed_${key})
        list(APPEND violations "${source}: \"${header}\" is a header of ${target}, above ${layer}")
      endif()
      if(free AND header MATCHES "^data/frm")
        list(APPEND violations "${source}: \"${header}\" is a form's header")
      endif()
    elseif(free AND line MATCHES "include[ \t]*<([^>]+)>")
      set(header "${CMAKE_MATCH_1}")
      string(REGEX REPLACE "^QtWidgets/" "" name "${header}")
      if(name IN_LIST widget_names OR header MATCHES "^QtWidgets/")
        list(APPEND violations "${source}: <${header}> is a widget header")
      endif()
    endif()
  endforeach()
endforeach()

if(DEFINED EXPECTED)
  file(STRINGS "${EXPECTED}" expected)
  if(NOT "${violations}" STREQUAL "${expected}")
    string(REPLACE ";" "\n  " got "${violations}")
    string(REPLACE ";" "\n  " want "${expected}")
    message(FATAL_ERROR "the check found\n  ${got}\nexpected\n  ${want}")
  endif()
elseif(violations)
  string(REPLACE ";" "\n  " listed "${violations}")
  message(FATAL_ERROR "includes across the layers of src/:\n  ${listed}")
endif()
