# The edit-mask engine of the mask edit: pure text work on code-page bytes, no Qt. Paths relative
# to toolkit/.
set(QMX_TOOLKIT_MASK_SOURCES
  src/mask/EditMask.cpp
  src/mask/MaskChars.cpp
  src/mask/MaskFormat.cpp
  src/mask/MaskEditing.cpp)
