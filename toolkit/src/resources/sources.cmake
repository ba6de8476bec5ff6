# Form resources: the text parser, the registry of compiled-in resources and the reader that
# applies a resource to components. Paths relative to toolkit/.
set(QMX_TOOLKIT_RESOURCES_SOURCES
  src/resources/FormResourceLexer.cpp
  src/resources/FormResourceParser.cpp
  src/resources/FormResourceRegistry.cpp
  src/resources/FormResourceIdents.cpp
  src/resources/FormResourceReader.cpp)

# The parser alone depends on the sdk only: the fuzz build and stand-alone tools compile these.
set(QMX_FORMRESOURCE_PARSER_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/FormResourceLexer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FormResourceParser.cpp)
