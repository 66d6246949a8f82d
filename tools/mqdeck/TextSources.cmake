# The import parser and the export it reads back: plain text work without files
# or a console, shared by the tool and the import fuzz target.
set(MQDECK_TEXT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/DelimitedText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ExportText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HtmlText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ImportParser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/InputDecoding.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextLines.cpp)
