#pragma once
// Reading and writing published properties by name, in the style of the original toolkit's
// TypInfo unit. Names are matched without regard to case; a name may be a path through class
// properties ("Font.Charset"). A property that does not exist raises EPropertyError
// ("no such property"), except GetPropInfo and IsPublishedProp, which answer null / false.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "qmx/toolkit/Rtti.h"

namespace qmx {

// The object that holds the last property of a path, and that property.
struct TPropTarget {
    TObject* Instance = nullptr;
    const TPropInfo* Info = nullptr;
};

// Null when the object is null or has no such property (a path through a null object: null).
const TPropInfo* GetPropInfo(const TObject* object, std::string_view name);
const TPropInfo* GetPropInfo(const TClassInfo& classInfo, std::string_view name);
bool IsPublishedProp(const TObject* object, std::string_view name);
// Resolves a path; raises EPropertyError naming the class and the missing part.
TPropTarget ResolvePropPath(TObject* object, std::string_view path);
// Every published property of the object's class, ancestors' first.
std::vector<const TPropInfo*> GetPropList(const TObject* object);

TTypeKind PropType(const TObject* object, std::string_view name);

// Whole values.
TPropValue GetPropValue(TObject* object, std::string_view name);
void SetPropValue(TObject* object, std::string_view name, const TPropValue& value);

// Ordinal properties: integers, chars, enumerations, Booleans, sets (their bits) and class
// properties (the object's address, as the original toolkit answered).
std::int64_t GetOrdProp(TObject* object, std::string_view name);
void SetOrdProp(TObject* object, std::string_view name, std::int64_t value);
std::int64_t GetOrdProp(TObject* object, const TPropInfo& info);
void SetOrdProp(TObject* object, const TPropInfo& info, std::int64_t value);

// Enumerations by value name ("alClient", "True"); an unknown name raises EPropertyError.
std::string GetEnumProp(TObject* object, std::string_view name);
void SetEnumProp(TObject* object, std::string_view name, std::string_view valueName);
// Sets as text "[akLeft,akTop]" (brackets optional when writing).
std::string GetSetProp(TObject* object, std::string_view name, bool brackets = true);
void SetSetProp(TObject* object, std::string_view name, std::string_view text);

AnsiString GetStrProp(TObject* object, std::string_view name);
void SetStrProp(TObject* object, std::string_view name, const AnsiString& value);
AnsiString GetStrProp(TObject* object, const TPropInfo& info);
void SetStrProp(TObject* object, const TPropInfo& info, const AnsiString& value);

double GetFloatProp(TObject* object, std::string_view name);
void SetFloatProp(TObject* object, std::string_view name, double value);

TObject* GetObjectProp(TObject* object, std::string_view name);
void SetObjectProp(TObject* object, std::string_view name, TObject* value);

TMethod GetMethodProp(TObject* object, std::string_view name);
void SetMethodProp(TObject* object, std::string_view name, const TMethod& value);
TMethod GetMethodProp(TObject* object, const TPropInfo& info);
void SetMethodProp(TObject* object, const TPropInfo& info, const TMethod& value);

// A published method of the object's class bound to the object; unassigned when there is none.
TMethod GetPublishedMethod(TObject* object, std::string_view name);

// Enumeration names; GetEnumValue answers -1 for an unknown name (without regard to case).
std::string GetEnumName(const TEnumTypeInfo& type, std::int64_t value);
int GetEnumValue(const TEnumTypeInfo& type, std::string_view name);
std::string GetEnumName(const TPropInfo& info, std::int64_t value);
int GetEnumValue(const TPropInfo& info, std::string_view name);

// Whether the property's current value would be stored (differs from its stored default; a text
// is stored when not empty, an object or method when assigned).
bool IsStoredProp(TObject* object, const TPropInfo& info);
bool IsDefaultPropValue(TObject* object, const TPropInfo& info);

} // namespace qmx
