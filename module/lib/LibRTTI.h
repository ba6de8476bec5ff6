#pragma once
// Property access by name for the framework's generic treatment of controls (required colouring,
// event hooking, conversion, state strings): a control takes part in a feature exactly when it
// publishes a property of the expected name. Nothing here reports a failure: an empty object, an
// empty name, a name the class does not publish, or a property of another kind than the call
// reads is the "missing" answer (empty text, 0, an unassigned event) and a write does nothing.
// Callers that must tell a missing property from an empty value ask HasPropByName first.
#include <cstdint>
#include <string_view>

#include "qmx/Exception.h"
#include "qmx/toolkit/Events.h"

namespace qmx {

class TObject;

bool HasPropByName(const TObject* object, std::string_view name);

AnsiString GetStrPropByName(TObject* object, std::string_view name);
void SetStrPropByName(TObject* object, std::string_view name, const AnsiString& value);

// Integers, characters, enumerations, colours, Booleans and object references.
std::int64_t GetOrdPropByName(TObject* object, std::string_view name);
void SetOrdPropByName(TObject* object, std::string_view name, std::int64_t value);

TMethod GetMethodPropByName(TObject* object, std::string_view name);
void SetMethodPropByName(TObject* object, std::string_view name, const TMethod& value);

} // namespace qmx
