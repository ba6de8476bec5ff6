#include "qmx/toolkit/FormResourceReader.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <utility>

#include "qmx/CodePage.h"
#include "qmx/toolkit/FormResourceIdents.h"
#include "qmx/toolkit/FormResourceRegistry.h"
#include "qmx/toolkit/FormResourceTargets.h"
#include "qmx/toolkit/Strings.h"

namespace qmx {
namespace {

bool SameName(std::string_view a, std::string_view b) { return AnsiSameText(a, b, CP_WESTERN); }

const char* KindName(TFormValueKind kind) {
    switch (kind) {
    case TFormValueKind::Integer: return "an integer";
    case TFormValueKind::Float: return "a number";
    case TFormValueKind::String: return "a text";
    case TFormValueKind::Identifier: return "an identifier";
    case TFormValueKind::Set: return "a set";
    case TFormValueKind::List: return "a list";
    case TFormValueKind::Collection: return "a collection";
    case TFormValueKind::Binary: return "binary data";
    }
    return "a value";
}

struct ParentProc {
    std::mutex Lock;
    TParentComponentProc Proc;
};

ParentProc& TheParentProc() {
    static ParentProc parentProc;
    return parentProc;
}

TParentComponentProc CurrentParentProc() {
    ParentProc& parentProc = TheParentProc();
    std::lock_guard guard(parentProc.Lock);
    return parentProc.Proc;
}

} // namespace

void RegisterParentComponentProc(TParentComponentProc proc) {
    ParentProc& parentProc = TheParentProc();
    std::lock_guard guard(parentProc.Lock);
    parentProc.Proc = std::move(proc);
}

TFormResourceReader::TFormResourceReader(TComponent* root) : root_(root) {
    if (!root_) throw EInvalidOperation("a form resource needs a root component to be read into");
    StartLoading(root_);
}

void TFormResourceReader::Fail(int line, const std::string& reason) const {
    throw EFormResourceError(resourceName_, line, reason);
}

void TFormResourceReader::StartLoading(TComponent* component) {
    if (std::find(loading_.begin(), loading_.end(), component) != loading_.end()) return;
    if (!component->ComponentState().Contains(csLoading)) component->Loading();
    loading_.push_back(component);
}

void TFormResourceReader::Read(const TFormResource& resource) {
    resourceName_ = resource.ResourceName;
    const TFormObject& top = resource.Root;
    if (!root_->InheritsFrom(top.ClassName))
        Fail(top.Line, "the resource describes a " + top.ClassName + ", not a " + root_->ClassName());
    if (!top.Name.empty() && !SameName(root_->Name(), top.Name)) {
        // A second instance of a form in one owner gets "frmX_1", as in the original toolkit.
        std::string name = top.Name;
        if (TComponent* owner = root_->Owner())
            for (int n = 1; owner->FindComponent(name) && owner->FindComponent(name) != root_; ++n)
                name = top.Name + "_" + std::to_string(n);
        try {
            root_->SetName(name);
        } catch (const Exception& error) {
            Fail(top.Line, top.Name + ": " + error.Message());
        }
    }
    ReadObject(top, root_);
}

void TFormResourceReader::ReadObject(const TFormObject& object, TComponent* component) {
    for (const TFormProperty& property : object.Properties) ReadProperty(component, property, component->Name());
    for (const TFormObject& child : object.Children) ReadChild(child, component);
}

TComponent* TFormResourceReader::ReadChild(const TFormObject& child, TComponent* container) {
    TComponent* component = nullptr;
    if (child.Inherited) {
        component = root_->FindComponent(child.Name);
        if (!component) Fail(child.Line, "inherited component " + child.Name + " not found");
        if (!component->InheritsFrom(child.ClassName))
            Fail(child.Line, child.Name + " is a " + component->ClassName() + ", not a " + child.ClassName);
        StartLoading(component);
    } else {
        if (root_->FindComponent(child.Name))
            Fail(child.Line, "a component named " + child.Name + " already exists");
        const TClassInfo* classInfo = GetClass(child.ClassName);
        if (!classInfo) Fail(child.Line, "class " + child.ClassName + " not found");
        if (!classInfo->Factory) Fail(child.Line, "class " + child.ClassName + " cannot be created");
        try {
            component = classInfo->Factory(root_);
        } catch (const Exception& error) {
            Fail(child.Line, "creating " + child.Name + ": " + error.Message());
        }
        if (!component) Fail(child.Line, "class " + child.ClassName + " cannot be created");
        StartLoading(component);
        try {
            component->SetName(child.Name);
            if (TParentComponentProc setParent = CurrentParentProc())
                setParent(component, container);
            else if (component->InheritsFrom("TControl"))
                Fail(child.Line, child.Name + ": no parent procedure is registered to place controls");
        } catch (const EFormResourceError&) {
            throw;
        } catch (const Exception& error) {
            Fail(child.Line, child.Name + ": " + error.Message());
        }
    }
    ReadObject(child, component);
    return component;
}

void TFormResourceReader::ReadProperty(TObject* instance, const TFormProperty& property,
                                       const std::string& context) {
    const std::string where = context + "." + property.Name;
    try {
        const std::string_view path = property.Name;
        const std::size_t dot = path.rfind('.');
        TObject* target = instance;
        std::string_view last = path;
        if (dot != std::string_view::npos) {
            const std::string_view holder = path.substr(0, dot);
            target = GetObjectProp(instance, holder);
            if (!target) Fail(property.Line, where + ": " + std::string(holder) + " is nil");
            last = path.substr(dot + 1);
        }
        if (auto* strings = dynamic_cast<TStrings*>(target); strings && SameName(last, "Strings")) {
            ReadStrings(strings, property.Value);
            return;
        }
        const TPropInfo* info = target->ClassInfo().FindProperty(last);
        if (!info) {
            auto* data = dynamic_cast<IFormResourceData*>(target);
            if (data && data->ReadFormData(last, property.Value)) return;
            Fail(property.Line, where + ": no such property in " + target->ClassName());
        }
        SetValue(target, *info, property.Value, where, property.Line);
    } catch (const EFormResourceError&) {
        throw;
    } catch (const Exception& error) {
        Fail(property.Line, where + ": " + error.Message());
    } catch (const std::exception& error) {
        Fail(property.Line, where + ": " + error.what());
    }
}

void TFormResourceReader::SetValue(TObject* instance, const TPropInfo& info, const TFormValue& value,
                                   const std::string& context, int line) {
    auto expected = [&](const std::string& what) {
        Fail(line, context + ": " + what + " expected for " + info.TypeName + ", not " + KindName(value.Kind));
    };
    const bool isIdentifier = value.Kind == TFormValueKind::Identifier;
    switch (info.Kind) {
    case tkInteger:
        if (value.Kind == TFormValueKind::Integer) return SetOrdProp(instance, info, value.Integer);
        if (isIdentifier) {
            auto number = IdentToInteger(info.TypeName, value.Text);
            if (!number) Fail(line, context + ": unknown value " + value.Text + " for " + info.TypeName);
            return SetOrdProp(instance, info, *number);
        }
        expected("an integer");
        break;
    case tkChar:
        if (value.Kind == TFormValueKind::Integer && value.Integer >= 0 && value.Integer <= 255)
            return SetOrdProp(instance, info, value.Integer);
        if (value.Kind == TFormValueKind::String && value.Text.size() == 1)
            return SetOrdProp(instance, info, static_cast<unsigned char>(value.Text[0]));
        expected("a single-byte character");
        break;
    case tkEnumeration:
        if (isIdentifier) {
            const int ordinal = GetEnumValue(info, value.Text);
            if (ordinal < 0) Fail(line, context + ": unknown value " + value.Text + " for " + info.TypeName);
            return SetOrdProp(instance, info, ordinal);
        }
        expected("an identifier");
        break;
    case tkFloat:
        if (value.Kind == TFormValueKind::Float) return SetFloatProp(instance, info.Name, value.Float);
        if (value.Kind == TFormValueKind::Integer)
            return SetFloatProp(instance, info.Name, static_cast<double>(value.Integer));
        expected("a number");
        break;
    case tkString:
        if (value.Kind == TFormValueKind::String) return SetStrProp(instance, info, value.Text);
        expected("a text");
        break;
    case tkSet:
        if (value.Kind == TFormValueKind::Set && info.EnumType) {
            std::uint64_t bits = 0;
            for (const AnsiString& element : value.Elements) {
                const int ordinal = GetEnumValue(*info.EnumType, element);
                if (ordinal < 0 || ordinal >= 64)
                    Fail(line, context + ": unknown value " + element + " for " + info.TypeName);
                bits |= std::uint64_t{1} << ordinal;
            }
            return SetOrdProp(instance, info, static_cast<std::int64_t>(bits));
        }
        expected("a set");
        break;
    case tkClass:
        if (isIdentifier) {
            if (SameName(value.Text, "nil")) return SetObjectProp(instance, info.Name, nullptr);
            if (TComponent* component = FindReference(value.Text))
                return SetObjectProp(instance, info.Name, component);
            // Written before the component it names: set when the reading is finished.
            fixups_.push_back(Fixup{instance, &info, value.Text, resourceName_, line, context});
            return;
        }
        if (value.Kind == TFormValueKind::Collection) {
            TObject* collection = GetObjectProp(instance, info.Name);
            if (!collection) Fail(line, context + " is nil");
            auto* target = dynamic_cast<IFormResourceCollection*>(collection);
            if (!target) Fail(line, context + ": a " + collection->ClassName() + " is not a collection");
            target->ClearForReading();
            for (std::size_t i = 0; i < value.CollectionItems.size(); ++i) {
                TPersistent* item = target->AddForReading();
                if (!item) Fail(value.CollectionItems[i].Line, context + ": the collection added no item");
                const std::string itemContext = context + "[" + std::to_string(i) + "]";
                for (const TFormProperty& property : value.CollectionItems[i].Properties)
                    ReadProperty(item, property, itemContext);
            }
            return;
        }
        expected("a component name or a collection");
        break;
    case tkMethod:
        if (isIdentifier) {
            if (SameName(value.Text, "nil")) return SetMethodProp(instance, info, TMethod());
            TMethod method = GetPublishedMethod(root_, value.Text);
            if (!method.Assigned())
                Fail(line, context + ": " + root_->ClassName() + " has no published method " + value.Text);
            return SetMethodProp(instance, info, method);
        }
        expected("a method name");
        break;
    case tkUnknown:
        break;
    }
    Fail(line, context + ": a property of type " + info.TypeName + " cannot be read from a resource");
}

void TFormResourceReader::ReadStrings(TObject* strings, const TFormValue& value) {
    auto* list = static_cast<TStrings*>(strings);
    if (value.Kind != TFormValueKind::List)
        throw EPropertyError(std::string("a list of texts expected, not ") + KindName(value.Kind));
    for (const TFormValue& item : value.Items)
        if (item.Kind != TFormValueKind::String)
            throw EPropertyError(std::string("a list of texts expected, not ") + KindName(item.Kind) +
                                 " in the list");
    list->BeginUpdate();
    try {
        list->Clear();
        for (const TFormValue& item : value.Items) list->Add(item.Text);
    } catch (...) {
        list->EndUpdate();
        throw;
    }
    list->EndUpdate();
}

TComponent* TFormResourceReader::FindReference(std::string_view name) const {
    const std::size_t dot = name.find('.');
    const std::string_view first = name.substr(0, dot);
    TComponent* found = SameName(first, root_->Name()) ? root_ : root_->FindComponent(first);
    if (!found || dot == std::string_view::npos) return found;
    // "frame.edName": a component owned by a component of the form.
    std::string_view rest = name.substr(dot + 1);
    while (found && !rest.empty()) {
        const std::size_t next = rest.find('.');
        found = found->FindComponent(rest.substr(0, next));
        rest = next == std::string_view::npos ? std::string_view() : rest.substr(next + 1);
    }
    return found;
}

void TFormResourceReader::Finish() {
    std::vector<Fixup> fixups;
    fixups.swap(fixups_);
    for (const Fixup& fixup : fixups) {
        TComponent* component = FindReference(fixup.ComponentName);
        if (!component)
            throw EFormResourceError(fixup.ResourceName, fixup.Line,
                                     fixup.Context + ": component " + fixup.ComponentName + " not found");
        try {
            SetObjectProp(fixup.Instance, fixup.Info->Name, component);
        } catch (const Exception& error) {
            throw EFormResourceError(fixup.ResourceName, fixup.Line, fixup.Context + ": " + error.Message());
        }
    }
    std::vector<TComponent*> loading;
    loading.swap(loading_);
    for (TComponent* component : loading) component->Loaded();
}

bool ReadFormResources(TComponent* root) {
    if (!root) return false;
    std::vector<std::shared_ptr<const TFormResource>> chain;
    for (const TClassInfo* classInfo = &root->ClassInfo(); classInfo; classInfo = classInfo->Parent) {
        auto resource = FindFormResource(classInfo->Name);
        if (!resource) continue;
        chain.push_back(resource);
        if (!resource->Root.Inherited) break;
    }
    if (chain.empty()) return false;
    const TFormResource& base = *chain.back();
    if (base.Root.Inherited)
        throw EFormResourceError(base.ResourceName, base.Root.Line,
                                 "inherited resource of " + base.Root.ClassName + ", but no ancestor has a form resource");
    TFormResourceReader reader(root);
    for (auto resource = chain.rbegin(); resource != chain.rend(); ++resource) reader.Read(**resource);
    reader.Finish();
    return true;
}

} // namespace qmx
