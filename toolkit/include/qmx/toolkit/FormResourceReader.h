#pragma once
// Applies parsed form resources to components: creates each `object` by its registered class
// name (owned by the root, and parented to the enclosing control), finds each `inherited` one
// among the root's components, and sets properties through the published-property RTTI in file
// order. Every component read is in csLoading until Finish, which resolves references to
// components written before they were created and then calls Loaded on each, root first, in the
// order they were read. Integer properties accept the names registered for their type
// (FormResourceIdents.h).
//
// A fault raises EFormResourceError naming the resource, the line and the property
// ("frmX.qfm(12): edName.Width: ..."). The components read so far stay owned by the root, which
// the caller then frees.
#include <functional>
#include <string>
#include <vector>

#include "qmx/toolkit/Component.h"
#include "qmx/toolkit/FormResource.h"
#include "qmx/toolkit/FormResourceError.h"

namespace qmx {

class TFormResourceReader {
public:
    explicit TFormResourceReader(TComponent* root);
    TFormResourceReader(const TFormResourceReader&) = delete;
    TFormResourceReader& operator=(const TFormResourceReader&) = delete;

    // Applies one resource on top of what the root holds (visual inheritance: apply the
    // ancestor's resource first, then the descendant's).
    void Read(const TFormResource& resource);
    void Finish();

    TComponent* Root() const { return root_; }

private:
    struct Fixup {
        TObject* Instance;
        const TPropInfo* Info;
        std::string ComponentName;
        std::string ResourceName;
        int Line;
        std::string Context;
    };

    void ReadObject(const TFormObject& object, TComponent* component);
    TComponent* ReadChild(const TFormObject& child, TComponent* container);
    void ReadProperty(TObject* instance, const TFormProperty& property, const std::string& context);
    void SetValue(TObject* instance, const TPropInfo& info, const TFormValue& value,
                  const std::string& context, int line);
    void ReadCollection(TObject* collection, const TFormValue& value, const std::string& context);
    void ReadStrings(TObject* strings, const TFormValue& value);
    TComponent* FindReference(std::string_view name) const;
    void StartLoading(TComponent* component);
    [[noreturn]] void Fail(int line, const std::string& reason) const;

    TComponent* root_;
    std::string resourceName_;
    std::vector<TComponent*> loading_;
    std::vector<Fixup> fixups_;
};

// Attaches a component read inside another one to it, as the original toolkit's
// SetParentComponent: the controls install one that sets a control's Parent when the container
// is a windowed control. Without one, a control nested in the resource is an error; other
// components are only owned by the root.
using TParentComponentProc = std::function<void(TComponent* component, TComponent* container)>;
void RegisterParentComponentProc(TParentComponentProc proc);

// Reads the resources of the root's class chain, registered with RegisterFormResource: from the
// nearest class whose resource starts with `object` down to the root's own class, each applied
// on top of the previous, then Finish. False (and nothing done) when no class of the chain has a
// resource.
bool ReadFormResources(TComponent* root);

} // namespace qmx
