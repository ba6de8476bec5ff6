#include "qmx/Dispatch.h"

#include "qmx/CodePage.h"

namespace qmx {
namespace {

std::string MemberKey(std::string_view name) { return AnsiUpperCase(name, CP_WESTERN); }

const char* KindText(DispatchKind kind) {
    switch (kind) {
    case DispatchKind::Method: return "method";
    case DispatchKind::PropertyGet: return "property get";
    case DispatchKind::PropertyPut: return "property put";
    }
    return "call";
}

} // namespace

Variant Invoke(const Variant& object, std::string_view name, DispatchKind kind, DispatchArgs& args) {
    DispatchPtr target;
    if (object.IsDispatch()) target = object.AsDispatch();
    if (!target) throw EOleError("Cannot call '" + std::string(name) + "': the value holds no automation object");
    return target->Invoke(name, kind, args);
}

Variant GetProperty(const Variant& object, std::string_view name) {
    DispatchArgs args;
    return Invoke(object, name, DispatchKind::PropertyGet, args);
}

void SetProperty(const Variant& object, std::string_view name, Variant value) {
    DispatchArgs args{std::move(value)};
    Invoke(object, name, DispatchKind::PropertyPut, args);
}

Variant DispatchObject::Invoke(std::string_view name, DispatchKind kind, DispatchArgs& args) {
    auto found = members_.find(MemberKey(name));
    if (found != members_.end()) {
        const Member& member = found->second;
        switch (kind) {
        case DispatchKind::Method:
            if (member.method) return member.method(args);
            // A property may be read with method syntax, as automation allows.
            if (member.getter) return member.getter(args);
            break;
        case DispatchKind::PropertyGet:
            if (member.getter) return member.getter(args);
            // Automation lets a method without arguments be read as a property.
            if (member.method) return member.method(args);
            break;
        case DispatchKind::PropertyPut:
            if (member.setter) {
                if (args.empty()) throw EOleError("Property '" + std::string(name) + "': no value to put");
                return member.setter(args);
            }
            break;
        }
        throw EOleError("Member '" + std::string(name) + "' does not support " + KindText(kind));
    }
    throw EOleError("Method '" + std::string(name) + "' not supported by automation object");
}

bool DispatchObject::HasMember(std::string_view name) const { return members_.contains(MemberKey(name)); }

void DispatchObject::DefineMethod(std::string_view name, Handler handler) {
    members_[MemberKey(name)].method = std::move(handler);
}

void DispatchObject::DefineProperty(std::string_view name, Handler getter, Handler setter) {
    auto& member = members_[MemberKey(name)];
    member.getter = std::move(getter);
    member.setter = std::move(setter);
}

Variant& DispatchObject::Arg(DispatchArgs& args, std::size_t index, std::string_view member) {
    if (index >= args.size())
        throw EOleError("Member '" + std::string(member) + "': argument " + std::to_string(index + 1) +
                        " missing (" + std::to_string(args.size()) + " given)");
    return args[index];
}

} // namespace qmx
