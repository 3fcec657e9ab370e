# Writes OUT, a C++ source holding the text of the gettext catalogue PO as a constant, so that
# every build (the window, the terminal, the page, Windows) carries its translations without
# gettext at run time. Run at build time: `cmake -DPO=... -DOUT=... -DSYMBOL=... -P EmbedPo.cmake`.
file(READ ${PO} text)
if(text MATCHES "\\)kestranpo\"")
  message(FATAL_ERROR "${PO} holds the raw string's end marker")
endif()
file(WRITE ${OUT}.new
  "// Generated from ${PO} by cmake/EmbedPo.cmake.\n"
  "#include <string_view>\n"
  "namespace kestran::game {\n"
  "extern const std::string_view ${SYMBOL};\n"
  "const std::string_view ${SYMBOL} = R\"kestranpo(${text})kestranpo\";\n"
  "}  // namespace kestran::game\n")
file(COPY_FILE ${OUT}.new ${OUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUT}.new)
