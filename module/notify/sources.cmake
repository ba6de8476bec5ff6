# The XML helpers and the header repair: no Qt, no outside library, so that the fuzz build can
# compile them on their own.
set(QMX_NOTIFY_XML_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/LibXml.cpp
  ${CMAKE_CURRENT_LIST_DIR}/XmlHeaderFix.cpp)
