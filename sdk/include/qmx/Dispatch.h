#pragma once
// Late-bound automation: an object answers calls by member name (without regard to case) with a
// kind (method, property get, property put) and Variant arguments. Arguments are passed in a
// vector the callee may write back into, which is how by-reference arguments return values.
// For a property put the new value is the last argument.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "qmx/Variant.h"

namespace qmx {

enum class DispatchKind { Method, PropertyGet, PropertyPut };

using DispatchArgs = std::vector<Variant>;

class Dispatch : public std::enable_shared_from_this<Dispatch> {
public:
    virtual ~Dispatch() = default;
    // Raises EOleError for an unknown member or unfit arguments; errors the member itself raises
    // pass through unchanged.
    virtual Variant Invoke(std::string_view name, DispatchKind kind, DispatchArgs& args) = 0;
};

// Calls on a Variant that holds an object; a Variant without one raises EOleError.
Variant Invoke(const Variant& object, std::string_view name, DispatchKind kind, DispatchArgs& args);
Variant GetProperty(const Variant& object, std::string_view name);
void SetProperty(const Variant& object, std::string_view name, Variant value);

// Method call with arguments by value.
template <class... Args>
Variant CallMethod(const Variant& object, std::string_view name, Args&&... args) {
    DispatchArgs list{Variant(std::forward<Args>(args))...};
    return Invoke(object, name, DispatchKind::Method, list);
}

// Method call whose arguments the callee may write back into (by reference).
inline Variant CallMethodRef(const Variant& object, std::string_view name, DispatchArgs& args) {
    return Invoke(object, name, DispatchKind::Method, args);
}

// Base for objects that declare their members in a table, one entry per name and kind, usually
// filled in the constructor. Names match without regard to case.
class DispatchObject : public Dispatch {
public:
    using Handler = std::function<Variant(DispatchArgs& args)>;

    Variant Invoke(std::string_view name, DispatchKind kind, DispatchArgs& args) override;
    bool HasMember(std::string_view name) const;

protected:
    void DefineMethod(std::string_view name, Handler handler);
    void DefineProperty(std::string_view name, Handler getter, Handler setter = {});

    // The argument at index, raising EOleError naming the member when it is missing.
    static Variant& Arg(DispatchArgs& args, std::size_t index, std::string_view member);

private:
    struct Member {
        Handler method, getter, setter;
    };
    std::map<std::string, Member, std::less<>> members_; // key: upper-cased name
};

} // namespace qmx
