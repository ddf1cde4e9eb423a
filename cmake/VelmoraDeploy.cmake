# Deployment of VelmoraSys.dll: the identifiers of its type library, read from the IDL, and the
# Windows Installer packages built from com/deploy/VelmoraSys.wxs with wixl (package wixl).

# Sets <prefix>_LIBID, <prefix>_DOLVA_CLSID, <prefix>_APIS_CLSID, <prefix>_DOLVA_IID and
# <prefix>_APIS_IID (upper case, without braces) from the uuid() attributes of the IDL, so that
# the packages and manifests name exactly what the DLL registers.
function(velmora_idl_ids idl prefix)
  file(READ ${idl} text)
  # Square brackets would split CMake's lists in odd places: the attribute lists are read as <...>.
  string(REPLACE "[" "<" text "${text}")
  string(REPLACE "]" ">" text "${text}")
  set(blank "[ \t\r\n]")
  set(entry "uuid\\(([0-9a-fA-F-]+)\\)[^>]*>${blank}*(library|interface|coclass)${blank}+([A-Za-z_]+)")
  string(REGEX MATCHALL "${entry}" matches "${text}")
  set(found "")
  foreach(m IN LISTS matches)
    string(REGEX REPLACE "^${entry}$" "\\3;\\1" pair "${m}")
    list(GET pair 0 name)
    list(GET pair 1 uuid)
    string(TOUPPER "${uuid}" uuid)
    set(id_${name} ${uuid})
    list(APPEND found ${name})
  endforeach()
  foreach(name VelmoraSys _Dolva _APIs Dolva APIs)
    if(NOT DEFINED id_${name})
      message(FATAL_ERROR "${idl}: no uuid for ${name} (found: ${found})")
    endif()
  endforeach()
  set(${prefix}_LIBID ${id_VelmoraSys} PARENT_SCOPE)
  set(${prefix}_DOLVA_IID ${id__Dolva} PARENT_SCOPE)
  set(${prefix}_APIS_IID ${id__APIs} PARENT_SCOPE)
  set(${prefix}_DOLVA_CLSID ${id_Dolva} PARENT_SCOPE)
  set(${prefix}_APIS_CLSID ${id_APIs} PARENT_SCOPE)
endfunction()

# The version just below <version> (major.minor.patch), for the upgrade test's older package:
# 1.2.3 -> 1.2.2, 1.2.0 -> 1.1.0, 1.0.0 -> 0.9.0.
function(velmora_previous_version version out)
  string(REPLACE "." ";" parts "${version}")
  list(GET parts 0 major)
  list(GET parts 1 minor)
  list(GET parts 2 patch)
  if(patch GREATER 0)
    math(EXPR patch "${patch} - 1")
  elseif(minor GREATER 0)
    math(EXPR minor "${minor} - 1")
  elseif(major GREATER 0)
    math(EXPR major "${major} - 1")
    set(minor 9)
  else()
    message(FATAL_ERROR "no version below ${version}")
  endif()
  set(${out} "${major}.${minor}.${patch}" PARENT_SCOPE)
endfunction()

# velmora_msi(OUTPUT file VERSION x.y.z SCOPE machine|user)
# Builds one package of the DLL staged in VELMORA_STAGE (the target velmora_stage, which a
# target building packages depends on). Its product code is derived from the upgrade code, the
# version and the scope: a rebuild of one version is the same product, so Windows Installer
# never takes it for a second one.
function(velmora_msi)
  cmake_parse_arguments(arg "" "OUTPUT;VERSION;SCOPE" "" ${ARGN})
  string(UUID product_code NAMESPACE ${VELMORA_UPGRADE_CODE} NAME "${arg_VERSION} ${arg_SCOPE}"
         TYPE SHA1 UPPER)
  add_custom_command(
    OUTPUT ${arg_OUTPUT}
    COMMAND ${VELMORA_WIXL_EXECUTABLE} -a ${VELMORA_MSI_ARCH} -o ${arg_OUTPUT}
            -D Version=${arg_VERSION} -D Arch=${VELMORA_MSI_ARCH} -D Scope=${arg_SCOPE}
            -D ProductCode=${product_code} -D UpgradeCode=${VELMORA_UPGRADE_CODE}
            -D Dll=VelmoraSys.dll -D LibId=${VELMORA_LIBID}
            -D DolvaClsid=${VELMORA_DOLVA_CLSID} -D ApisClsid=${VELMORA_APIS_CLSID}
            -D DolvaIid=${VELMORA_DOLVA_IID} -D ApisIid=${VELMORA_APIS_IID}
            ${PROJECT_SOURCE_DIR}/com/deploy/VelmoraSys.wxs
    # wixl finds the files named in the package relative to where it runs.
    WORKING_DIRECTORY ${VELMORA_STAGE}
    DEPENDS ${PROJECT_SOURCE_DIR}/com/deploy/VelmoraSys.wxs ${VELMORA_STAGE}/VelmoraSys.dll
    COMMENT "Building the package ${arg_OUTPUT}"
    VERBATIM)
endfunction()
