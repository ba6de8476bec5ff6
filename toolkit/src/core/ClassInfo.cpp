#include <algorithm>
#include <map>
#include <mutex>
#include <string>

#include "qmx/CodePage.h"
#include "qmx/toolkit/Rtti.h"

namespace qmx {

namespace {

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto up = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
               return up(x) == up(y);
           });
}

std::string UpperName(std::string_view name) {
    std::string result(name);
    for (char& c : result)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return result;
}

const TPropInfo* FindIn(const std::vector<TPropInfo>& list, std::string_view name) {
    for (const TPropInfo& p : list)
        if (SameName(p.Name, name)) return &p;
    return nullptr;
}

struct ClassRegistry {
    std::mutex mutex;
    std::map<std::string, const TClassInfo*> classes;
};

ClassRegistry& Registry() {
    static ClassRegistry registry;
    return registry;
}

} // namespace

int TEnumTypeInfo::ValueOf(std::string_view name) const {
    for (std::size_t i = 0; i < Names.size(); ++i)
        if (SameName(Names[i], name)) return static_cast<int>(i);
    return -1;
}

const TEnumTypeInfo& BooleanTypeInfo() {
    static const TEnumTypeInfo info{"Boolean", {"False", "True"}};
    return info;
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const {
    for (const TClassInfo* c = this; c; c = c->Parent)
        if (const TPropInfo* p = FindIn(c->Properties, name)) return p;
    return nullptr;
}

std::vector<const TPropInfo*> TClassInfo::PropertyList() const {
    std::vector<const TPropInfo*> list = Parent ? Parent->PropertyList() : std::vector<const TPropInfo*>{};
    for (const TPropInfo& p : Properties) {
        auto same = std::find_if(list.begin(), list.end(),
                                 [&](const TPropInfo* q) { return SameName(q->Name, p.Name); });
        if (same != list.end()) *same = &p;
        else list.push_back(&p);
    }
    return list;
}

const TMethodInfo* TClassInfo::FindMethod(std::string_view name) const {
    for (const TClassInfo* c = this; c; c = c->Parent)
        for (const TMethodInfo& m : c->Methods)
            if (SameName(m.Name, name)) return &m;
    return nullptr;
}

std::vector<const TMethodInfo*> TClassInfo::MethodList() const {
    std::vector<const TMethodInfo*> list = Parent ? Parent->MethodList() : std::vector<const TMethodInfo*>{};
    for (const TMethodInfo& m : Methods) {
        auto same = std::find_if(list.begin(), list.end(),
                                 [&](const TMethodInfo* q) { return SameName(q->Name, m.Name); });
        if (same != list.end()) *same = &m;
        else list.push_back(&m);
    }
    return list;
}

const TPropInfo* TClassInfo::FindDeclaredProperty(std::string_view name) const {
    for (const TClassInfo* c = this; c; c = c->Parent) {
        if (const TPropInfo* p = FindIn(c->Properties, name)) return p;
        if (const TPropInfo* p = FindIn(c->DeclaredProperties, name)) return p;
    }
    return nullptr;
}

bool TClassInfo::InheritsFrom(const TClassInfo& ancestor) const {
    for (const TClassInfo* c = this; c; c = c->Parent)
        if (c == &ancestor) return true;
    return false;
}

bool TClassInfo::InheritsFrom(std::string_view className) const {
    for (const TClassInfo* c = this; c; c = c->Parent)
        if (SameName(c->Name, className)) return true;
    return false;
}

void RegisterClass(const TClassInfo& classInfo) {
    ClassRegistry& r = Registry();
    std::lock_guard lock(r.mutex);
    r.classes[UpperName(classInfo.Name)] = &classInfo;
}

void RegisterClasses(std::initializer_list<const TClassInfo*> classes) {
    for (const TClassInfo* c : classes)
        if (c) RegisterClass(*c);
}

void UnRegisterClass(const TClassInfo& classInfo) {
    ClassRegistry& r = Registry();
    std::lock_guard lock(r.mutex);
    auto it = r.classes.find(UpperName(classInfo.Name));
    if (it != r.classes.end() && it->second == &classInfo) r.classes.erase(it);
}

const TClassInfo* GetClass(std::string_view name) {
    ClassRegistry& r = Registry();
    std::lock_guard lock(r.mutex);
    auto it = r.classes.find(UpperName(name));
    return it == r.classes.end() ? nullptr : it->second;
}

const TClassInfo& FindClass(std::string_view name) {
    if (const TClassInfo* c = GetClass(name)) return *c;
    throw EClassNotFound("Class " + std::string(name) + " not found");
}

} // namespace qmx
