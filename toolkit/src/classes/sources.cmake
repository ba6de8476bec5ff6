# TStrings and TStringList. Paths relative to toolkit/.
set(QMX_TOOLKIT_CLASSES_SOURCES
  src/classes/Strings.cpp
  src/classes/StringList.cpp)
