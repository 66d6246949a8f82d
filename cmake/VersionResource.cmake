# Windows builds: gives an executable a version resource made from the project
# version, so Explorer's Properties name the product, the version and the maker.
# The copyright line is in code page 1252, like every resource script here.
set(MQ_VENDOR "Mnemoquill-Team")
set(MQ_COPYRIGHT "Copyright \\251 2026 ${MQ_VENDOR}")

# The project version in the four parts Windows wants; missing parts count as 0.
set(MQ_VERSION_QUAD)
foreach(part MAJOR MINOR PATCH TWEAK)
  if("${PROJECT_VERSION_${part}}" STREQUAL "")
    list(APPEND MQ_VERSION_QUAD 0)
  else()
    list(APPEND MQ_VERSION_QUAD ${PROJECT_VERSION_${part}})
  endif()
endforeach()
list(JOIN MQ_VERSION_QUAD "," MQ_VERSION_COMMAS)
list(JOIN MQ_VERSION_QUAD "." MQ_VERSION_DOTS)

function(mq_version_resource target description)
  set(MQ_FILE_DESCRIPTION "${description}")
  set(MQ_INTERNAL_NAME ${target})
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()
