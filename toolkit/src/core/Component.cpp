#include "qmx/toolkit/Component.h"

#include <algorithm>
#include <string>

#include "qmx/CodePage.h"
#include "qmx/toolkit/ClassBuilder.h"
#include "qmx/toolkit/Exceptions.h"

namespace qmx {

const TClassInfo& TComponent::StaticClassInfo() {
    static const TClassInfo info =
        TClassInfoBuilder<TComponent>("TComponent", &inherited::StaticClassInfo())
            .Property("Name", &TComponent::Name, &TComponent::SetName).Type("TComponentName")
            .Property("Tag", &TComponent::Tag, &TComponent::SetTag).Default(0)
            .Build();
    return info;
}

bool IsValidIdent(std::string_view name) {
    if (name.empty()) return false;
    auto alpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
    if (!alpha(name.front())) return false;
    return std::all_of(name.begin(), name.end(),
                       [&](char c) { return alpha(c) || (c >= '0' && c <= '9'); });
}

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    // Reached without BeforeDestruction only for objects that were not deleted (a component
    // on the stack); the links are released the same way.
    if (!state_.Contains(csDestroying)) Destroying();
    ReleaseComponentLinks();
}

void TComponent::BeforeDestruction() {
    if (!state_.Contains(csDestroying)) Destroying();
    ReleaseComponentLinks();
}

void TComponent::ReleaseComponentLinks() {
    if (linksReleased_) return;
    linksReleased_ = true;
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        auto& theirs = other->freeNotifies_;
        theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
        other->Notification(this, opRemove);
    }
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

void TComponent::SetName(const AnsiString& name) {
    if (name == name_) return;
    if (!name.empty() && !IsValidIdent(name))
        throw EComponentError("'" + name + "' is not a valid component name");
    if (owner_) owner_->ValidateRename(this, name_, name);
    else ValidateRename(nullptr, name_, name);
    name_ = name;
}

void TComponent::ValidateRename(TComponent* component, std::string_view currentName,
                                std::string_view newName) const {
    if (!component || newName.empty() || AnsiSameText(currentName, newName, CP_WESTERN)) return;
    if (TComponent* other = FindComponent(newName); other && other != component)
        throw EComponentError("A component named " + std::string(newName) + " already exists");
}

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= ComponentCount())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return components_[static_cast<std::size_t>(index)];
}

int TComponent::ComponentIndex() const {
    if (!owner_) return -1;
    const auto& list = owner_->components_;
    const auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : components_)
        if (AnsiSameText(c->name_, name, CP_WESTERN)) return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
    if (!component || component->owner_ == this) return;
    ValidateRename(component, {}, component->name_);
    if (component->owner_) component->owner_->RemoveComponent(component);
    components_.push_back(component);
    component->owner_ = this;
    if (state_.Contains(csDesigning)) component->SetDesigning(true);
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    if (!component || component->owner_ != this) return;
    Notification(component, opRemove);
    components_.erase(std::remove(components_.begin(), components_.end(), component),
                      components_.end());
    component->owner_ = nullptr;
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        TComponent* last = components_.back();
        components_.pop_back();
        last->owner_ = nullptr;
        delete last;
    }
}

void TComponent::FreeNotification(TComponent* component) {
    if (!component || component == this) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end())
        freeNotifies_.push_back(component);
    if (std::find(component->freeNotifies_.begin(), component->freeNotifies_.end(), this) ==
        component->freeNotifies_.end())
        component->freeNotifies_.push_back(this);
    state_ += csFreeNotification;
}

void TComponent::RemoveFreeNotification(TComponent* component) {
    if (!component) return;
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), component),
                        freeNotifies_.end());
    auto& theirs = component->freeNotifies_;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == opRemove && component) RemoveFreeNotification(component);
    // Copy: a notified component may free others.
    const std::vector<TComponent*> owned = components_;
    for (TComponent* c : owned)
        if (std::find(components_.begin(), components_.end(), c) != components_.end())
            c->Notification(component, operation);
}

void TComponent::Destroying() {
    if (state_.Contains(csDestroying)) return;
    state_ += csDestroying;
    for (TComponent* c : components_) c->Destroying();
}

void TComponent::SetDesigning(bool designing, bool includeOwned) {
    if (designing) state_ += csDesigning;
    else state_ -= csDesigning;
    if (includeOwned)
        for (TComponent* c : components_) c->SetDesigning(designing, true);
}

} // namespace qmx
