# Writes the C++ source of the built-in templates: every file of the template folders
# under STENCIL (hollin.pptx/, hollin.docx/, hollin.xlsx/, korvel.vsdx/, korvel.vssx/) as a part
# name and its text.
# Usage: cmake -DSTENCIL=<folder> -DOUT=<file.cpp> -P embed_templates.cmake
set(text "// Generated from tools/stencil by embed_templates.cmake: do not edit.\n")
string(APPEND text "#include \"officeexport/ooxml_templates.h\"\n\nnamespace tarnwell {\n")
foreach(pair presentation:hollin.pptx word_document:hollin.docx workbook:hollin.xlsx
             visio_drawing:korvel.vsdx visio_stencil:korvel.vssx)
  string(REPLACE ":" ";" pair "${pair}")
  list(GET pair 0 kind)
  list(GET pair 1 name)
  set(folder ${STENCIL}/${name})
  file(GLOB_RECURSE files RELATIVE ${folder} LIST_DIRECTORIES false ${folder}/*)
  list(SORT files)
  string(APPEND text "\nconst std::vector<template_part> builtin_${kind}_parts = {\n")
  foreach(file IN LISTS files)
    file(READ ${folder}/${file} content)
    string(FIND "${content}" ")ooxml\"" clash)
    if(NOT clash EQUAL -1)
      message(FATAL_ERROR "${file} holds the raw string delimiter")
    endif()
    string(APPEND text "    {\"${file}\", R\"ooxml(${content})ooxml\"},\n")
  endforeach()
  string(APPEND text "};\n")
endforeach()
string(APPEND text "\n}  // namespace tarnwell\n")
file(WRITE ${OUT}.new "${text}")
file(COPY_FILE ${OUT}.new ${OUT} ONLY_IF_DIFFERENT)
