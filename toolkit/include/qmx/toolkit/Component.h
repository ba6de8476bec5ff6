#pragma once
// TComponent: named objects owned by another component. The owner keeps its components in
// creation order and frees them (the last created first) when it is freed; components that hold
// references to other components ask for a free notification to learn when those go away.
#include <cstdint>
#include <string_view>
#include <vector>

#include "qmx/toolkit/Persistent.h"

namespace qmx {

enum TComponentStateElem { csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor,
                           csUpdating, csFixups, csFreeNotification, csInline, csDesignInstance };
QMX_ENUM(TComponentStateElem, "csLoading", "csReading", "csWriting", "csDestroying", "csDesigning",
         "csAncestor", "csUpdating", "csFixups", "csFreeNotification", "csInline", "csDesignInstance")
using TComponentState = TSet<TComponentStateElem>;

enum TOperation { opInsert, opRemove };
QMX_ENUM(TOperation, "opInsert", "opRemove")

class TComponent : public TPersistent {
    QMX_CLASS(TComponent, TPersistent)

public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;

    const AnsiString& Name() const { return name_; }
    // Raises EComponentError for a name that is no identifier or is taken within the owner
    // (without regard to case). An empty name is allowed.
    virtual void SetName(const AnsiString& name);
    std::int32_t Tag() const { return tag_; }
    void SetTag(std::int32_t tag) { tag_ = tag; }

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    // Raises EListError for an index out of range.
    TComponent* Components(int index) const;
    const std::vector<TComponent*>& ComponentList() const { return components_; }
    // Position in the owner's list; -1 without owner.
    int ComponentIndex() const;
    // An owned component by name, without regard to case; null when none.
    TComponent* FindComponent(std::string_view name) const;

    // Ownership changes (the constructor inserts into the owner).
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    // Frees every owned component, the last created first.
    void DestroyComponents();

    // component->Notification(this, opRemove) runs when this component is freed.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    TComponentState ComponentState() const { return state_; }
    // Sets csDestroying on this component and every owned one.
    void Destroying();
    // The form reader: Loading() before the properties are read, Loaded() after all of them.
    void Loading() { state_ += csLoading; }
    virtual void Loaded() { state_ -= csLoading; }
    void SetDesigning(bool designing, bool includeOwned = true);

    // The visual parent, for the form reader: controls answer their Parent.
    virtual bool HasParent() const { return false; }
    virtual TComponent* GetParentComponent() const { return nullptr; }
    virtual void SetParentComponent(TComponent* parent) { (void)parent; }

    void BeforeDestruction() override;

protected:
    // Told about components inserted into or removed from the owner, and about components freed
    // that this one asked FreeNotification of. The default passes it on to the owned components.
    virtual void Notification(TComponent* component, TOperation operation);
    virtual void ValidateRename(TComponent* component, std::string_view currentName,
                                std::string_view newName) const;
    TComponentState& MutableState() { return state_; }
    // Frees notifications, owned components and leaves the owner; idempotent.
    void ReleaseComponentLinks();

private:
    TComponent* owner_ = nullptr;
    AnsiString name_;
    std::int32_t tag_ = 0;
    TComponentState state_;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    bool linksReleased_ = false;
};

bool IsValidIdent(std::string_view name);

} // namespace qmx
