# Form resources (.qfm, UTF-8 text) compiled into the library that owns the forms.
#
#   qmx_embed_form_resources(<target> <file.qfm>...)
#
# For each file a generated source holds the bytes of the file as they are and registers them at
# load time under the class name of the resource's root object (RegisterFormResource), and
# removes the registration when the library is unloaded. The file is read again whenever it
# changes. The target must see qmx/toolkit/FormResourceRegistry.h (link qmxtoolkit).
#
# This file is also the generator: the build runs it in script mode with QMX_FORM_INPUT and
# QMX_FORM_OUTPUT set.

if(CMAKE_SCRIPT_MODE_FILE AND DEFINED QMX_FORM_INPUT)
  get_filename_component(resource_name "${QMX_FORM_INPUT}" NAME)
  file(READ "${QMX_FORM_INPUT}" head LIMIT 3 HEX)
  if(head STREQUAL "efbbbf")
    file(READ "${QMX_FORM_INPUT}" content OFFSET 3)
  else()
    file(READ "${QMX_FORM_INPUT}" content)
  endif()

  # The class name comes from the root header, the first line that is neither blank nor a
  # comment: "object frmX: TfrmX" or "inherited frmX: TfrmX". The text is walked as one string
  # (not as a list) so that semicolons in comments do no harm.
  set(class_name "")
  set(line_number 0)
  string(REPLACE "\r\n" "\n" content_lf "${content}")
  string(REPLACE "\r" "\n" content_lf "${content_lf}")
  while(NOT content_lf STREQUAL "")
    math(EXPR line_number "${line_number} + 1")
    string(FIND "${content_lf}" "\n" newline)
    if(newline EQUAL -1)
      set(line "${content_lf}")
      set(content_lf "")
    else()
      string(SUBSTRING "${content_lf}" 0 ${newline} line)
      math(EXPR rest "${newline} + 1")
      string(SUBSTRING "${content_lf}" ${rest} -1 content_lf)
    endif()
    string(STRIP "${line}" line)
    if(line STREQUAL "" OR line MATCHES "^//")
      continue()
    endif()
    string(TOLOWER "${line}" lower)
    if(lower MATCHES "^(object|inherited)[ \t]+[a-z_][a-z0-9_]*[ \t]*:[ \t]*[a-z_][a-z0-9_]*")
      string(REGEX REPLACE "^[A-Za-z]+[ \t]+[A-Za-z_][A-Za-z0-9_]*[ \t]*:[ \t]*([A-Za-z_][A-Za-z0-9_]*).*$"
             "\\1" class_name "${line}")
    endif()
    break()
  endwhile()
  if(class_name STREQUAL "")
    message(FATAL_ERROR "${QMX_FORM_INPUT}(${line_number}): expected 'object Name: TClass' "
                        "or 'inherited Name: TClass' on the first line of the resource")
  endif()

  # Sixteen bytes to a line of the generated array.
  file(READ "${QMX_FORM_INPUT}" hex HEX)
  string(REGEX REPLACE "(................................)" "\\1\n" bytes "${hex}")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")

  set(source "// Generated from ${resource_name} by qmx_embed_form_resources; do not edit.
#include <string_view>

#include \"qmx/toolkit/FormResourceRegistry.h\"

namespace {

const unsigned char kText[] = {
${bytes}};

struct Registrar {
    Registrar() {
        qmx::RegisterFormResource(\"${class_name}\",
            std::string_view(reinterpret_cast<const char*>(kText), sizeof kText), \"${resource_name}\");
    }
    ~Registrar() { qmx::UnregisterFormResource(\"${class_name}\"); }
    Registrar(const Registrar&) = delete;
    Registrar& operator=(const Registrar&) = delete;
};

const Registrar registrar;

} // namespace
")
  # Rewrite only on change, so that touching the generator does not recompile every form.
  set(old "")
  if(EXISTS "${QMX_FORM_OUTPUT}")
    file(READ "${QMX_FORM_OUTPUT}" old)
  endif()
  if(NOT old STREQUAL source)
    file(WRITE "${QMX_FORM_OUTPUT}" "${source}")
  endif()
  return()
endif()

include_guard(GLOBAL)

function(qmx_embed_form_resources target)
  set(index 0)
  foreach(file IN LISTS ARGN)
    get_filename_component(input "${file}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
    get_filename_component(name "${input}" NAME_WE)
    string(MAKE_C_IDENTIFIER "${name}" id)
    set(output "${CMAKE_CURRENT_BINARY_DIR}/qmx_form_resources/${target}/${index}_${id}.cpp")
    add_custom_command(OUTPUT "${output}"
      COMMAND "${CMAKE_COMMAND}" "-DQMX_FORM_INPUT=${input}" "-DQMX_FORM_OUTPUT=${output}"
              -P "${CMAKE_CURRENT_FUNCTION_LIST_FILE}"
      DEPENDS "${input}" "${CMAKE_CURRENT_FUNCTION_LIST_FILE}"
      COMMENT "Embedding form resource ${name}"
      VERBATIM)
    target_sources(${target} PRIVATE "${output}")
    math(EXPR index "${index} + 1")
  endforeach()
endfunction()
