#pragma once
// The parsed form of a form resource: a tree of objects with their properties in file order.
// Texts are already in the interface code page; every node keeps its source line so that whoever
// applies the tree can name the place of a fault. The format is described in docs/form-resources.md.
#include <cstdint>
#include <vector>

#include "qmx/Exception.h"

namespace qmx {

enum class TFormValueKind {
    Integer,    // 12, -3, $FF
    Float,      // 1.5, -2.5E3
    String,     // 'text' #13#10 'more' + 'more'
    Identifier, // True, clBtnFace, alClient, edName, DataModule.Source (dotted)
    Set,        // [biSystemMenu, biMinimize]
    List,       // ('one' 'two' 3)
    Collection, // < item ... end item ... end >
    Binary      // {0A0B0C} or {'RESOURCE_NAME'}
};

struct TFormProperty;

// One item of a collection value, with its properties in file order.
struct TFormCollectionItem {
    std::vector<TFormProperty> Properties;
    int Line = 0;
};

struct TFormValue {
    TFormValueKind Kind = TFormValueKind::Integer;
    std::int64_t Integer = 0;
    double Float = 0;
    // String: the text in the interface code page. Identifier: the name as written.
    // Binary: the bytes (empty when the value names a module resource).
    AnsiString Text;
    // Binary only: the name of a module resource that holds the data, when written {'NAME'}.
    AnsiString ResourceName;
    std::vector<AnsiString> Elements;                 // Set: element names as written
    std::vector<TFormValue> Items;                    // List
    std::vector<TFormCollectionItem> CollectionItems; // Collection
    int Line = 0;
};

struct TFormProperty {
    AnsiString Name; // a property path as written: "Caption", "Font.Charset", "Items.Strings"
    TFormValue Value;
    int Line = 0;
};

struct TFormObject {
    AnsiString Name;
    AnsiString ClassName;
    bool Inherited = false; // 'inherited': changes an object the ancestor's resource created
    int Index = -1;         // '[n]' after the class name: creation position among the owner's children
    std::vector<TFormProperty> Properties;
    std::vector<TFormObject> Children;
    int Line = 0;
};

struct TFormResource {
    AnsiString ResourceName; // the name errors are reported under, e.g. "frmBaseGene.qfm"
    TFormObject Root;
};

} // namespace qmx
