#include "qmx/toolkit/WinControl.h"

#include <QWidget>

#include <algorithm>

#include "controls/ToolkitHook.h"
#include "qmx/toolkit/ClassBuilder.h"
#include "qmx/toolkit/CustomForm.h"
#include "qmx/toolkit/Screen.h"

namespace qmx {

const TClassInfo& TWinControl::StaticClassInfo() {
    static const TClassInfo info =
        TClassInfoBuilder<TWinControl>("TWinControl", &inherited::StaticClassInfo())
            .Declare("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder).Type("TTabOrder").Default(-1)
            .Declare("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(false)
            .Declare("ImeName", &TWinControl::ImeName, &TWinControl::SetImeName).Type("TImeName")
            .Declare("OnEnter", &TWinControl::OnEnter)
            .Declare("OnExit", &TWinControl::OnExit)
            .Declare("OnKeyDown", &TWinControl::OnKeyDown)
            .Declare("OnKeyPress", &TWinControl::OnKeyPress)
            .Declare("OnKeyUp", &TWinControl::OnKeyUp)
            .Abstract()
            .Build();
    return info;
}

TWinControl::TWinControl(TComponent* owner) : TWinControl(owner, new QWidget) {}

TWinControl::TWinControl(TComponent* owner, QWidget* widget) : TControl(owner, widget) {}

TWinControl::~TWinControl() {
    DestroyChildren();
    if (Screen && Screen->activeControl_ == this) Screen->activeControl_ = nullptr;
    if (handle_) detail::UnregisterHandle(handle_);
}

void TWinControl::BeforeDestruction() {
    Destroying();
    DestroyChildren();
    TControl::BeforeDestruction();
}

void TWinControl::DestroyChildren() {
    // Children go with their parent (the last first), whoever owns them.
    while (!controls_.empty() || !winControls_.empty()) {
        TControl* child = !winControls_.empty() ? static_cast<TControl*>(winControls_.back())
                                                : controls_.back();
        RemoveControl(child);
        delete child;
    }
}

// --- children -------------------------------------------------------------------------------

int TWinControl::ControlCount() const {
    return static_cast<int>(controls_.size() + winControls_.size());
}

TControl* TWinControl::Controls(int index) const {
    if (index < 0 || index >= ControlCount())
        throw EListError("Control index out of bounds (" + std::to_string(index) + ")");
    const auto i = static_cast<std::size_t>(index);
    return i < controls_.size() ? controls_[i] : winControls_[i - controls_.size()];
}

bool TWinControl::ContainsControl(const TControl* control) const {
    for (const TControl* c = control; c; c = c->Parent())
        if (c == this) return true;
    return false;
}

void TWinControl::InsertControl(TControl* control) {
    control->parent_ = this;
    auto* winControl = dynamic_cast<TWinControl*>(control);
    if (winControl) {
        winControls_.push_back(winControl);
        tabList_.push_back(winControl);
    } else {
        controls_.push_back(control);
    }
    if (QWidget* w = control->Widget()) {
        w->setParent(ContainerWidget());
        if (winControl) w->raise();
        else w->lower();
    }
    control->UpdateWidgetGeometry();
    control->Perform(CM_PARENTFONTCHANGED);
    control->Perform(CM_PARENTCOLORCHANGED);
    control->Perform(CM_PARENTSHOWHINTCHANGED);
    control->UpdateWidgetVisibility();
    control->UpdateAnchorRules();
    if (control->Align() != alNone) AlignControl(control);
}

void TWinControl::RemoveControl(TControl* control) {
    if (!control || control->parent_ != this) return;
    if (auto* winControl = dynamic_cast<TWinControl*>(control)) {
        winControl->RemoveFocus(true);
        winControls_.erase(std::remove(winControls_.begin(), winControls_.end(), winControl),
                           winControls_.end());
        tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), winControl), tabList_.end());
    } else {
        controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    }
    control->parent_ = nullptr;
    if (QWidget* w = control->Widget()) {
        w->hide();
        w->setParent(nullptr);
    }
    if (control->Align() != alNone && !ComponentState().Contains(csDestroying)) Realign();
}

void TWinControl::RemoveFocus(bool removing) {
    TCustomForm* form = GetParentForm(this);
    if (form && !form->ComponentState().Contains(csDestroying)) form->DefocusControl(this, removing);
}

void TWinControl::Broadcast(TMessage& message) {
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* child = Controls(i);
        if (child->WindowProc) child->WindowProc(message);
        else child->WndProc(message);
        if (message.Result != 0) return;
    }
}

HWND TWinControl::Handle() const {
    if (!handle_ && Widget()) {
        handle_ = static_cast<HWND>(Widget()->winId());
        detail::RegisterHandle(handle_, const_cast<TWinControl*>(this));
    }
    return handle_;
}

// --- tab order and focus --------------------------------------------------------------------

int TWinControl::TabOrder() const {
    TWinControl* parent = Parent();
    if (!parent) return tabOrderValue_;
    const auto& list = parent->tabList_;
    const auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
    tabOrderValue_ = order;
    TWinControl* parent = Parent();
    // While a form resource is read the siblings are not all there yet: FixupTabList applies it.
    if (!parent || ComponentState().Contains(csLoading)) return;
    auto& list = parent->tabList_;
    const auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) return;
    const int count = static_cast<int>(list.size());
    order = std::clamp(order, 0, count - 1);
    list.erase(it);
    list.insert(list.begin() + order, this);
}

void TWinControl::FixupTabList() {
    const std::size_t count = tabList_.size();
    std::vector<TWinControl*> ordered(count, nullptr);
    std::vector<TWinControl*> rest;
    for (TWinControl* c : tabList_) {
        const int wanted = c->tabOrderValue_;
        if (wanted >= 0 && static_cast<std::size_t>(wanted) < count && !ordered[static_cast<std::size_t>(wanted)])
            ordered[static_cast<std::size_t>(wanted)] = c;
        else
            rest.push_back(c);
    }
    auto next = rest.begin();
    for (auto& slot : ordered)
        if (!slot) slot = *next++;
    tabList_ = std::move(ordered);
}

void TWinControl::SetTabStop(bool tabStop) { tabStop_ = tabStop; }

bool TWinControl::CanFocus() const {
    const TCustomForm* form = GetParentForm(this);
    if (!form) return false;
    for (const TControl* c = this; c && c != form; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

void TWinControl::SetFocus() {
    TCustomForm* form = GetParentForm(this);
    if (!form) throw EInvalidOperation("Control '" + Name() + "' has no parent window");
    form->FocusControl(this);
}

bool TWinControl::Focused() const {
    const TCustomForm* form = GetParentForm(this);
    return form && Screen->FocusedForm() == form && form->FocusedControl() == this;
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
    for (TWinControl* c : tabList_) {
        list.push_back(c);
        c->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                          bool checkParent) const {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty()) return nullptr;
    const int count = static_cast<int>(list.size());
    const auto found = std::find(list.begin(), list.end(), current);
    int start = found == list.end() ? (goForward ? count - 1 : 0) : static_cast<int>(found - list.begin());
    int i = start;
    do {
        if (goForward) {
            if (++i == count) i = 0;
        } else {
            if (i == 0) i = count;
            --i;
        }
        TWinControl* candidate = list[static_cast<std::size_t>(i)];
        if (candidate->CanFocus() && (!checkTabStop || candidate->TabStop()) &&
            (!checkParent || candidate->Parent() == this))
            return candidate;
    } while (i != start);
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
    if (TWinControl* next = FindNextControl(current, goForward, checkTabStop, !checkTabStop))
        next->SetFocus();
}

// --- alignment ------------------------------------------------------------------------------

void TWinControl::EnableAlign() {
    if (alignLevel_ > 0 && --alignLevel_ == 0 && alignPending_) Realign();
}

void TWinControl::Realign() { AlignControl(nullptr); }

void TWinControl::AlignControl(TControl* control) {
    if (ComponentState().Contains(csDestroying)) return;
    if (alignLevel_ > 0 || ComponentState().Contains(csLoading)) {
        alignPending_ = true;
        return;
    }
    alignPending_ = false;
    DisableAlign();
    TRect rect = ClientRect();
    AdjustClientRect(rect);
    AlignControls(control, rect);
    EnableAlign();
}

void TWinControl::AlignControls(TControl* control, TRect& rect) {
    // The original toolkit's order: top, bottom, left, right, then client; within one kind the
    // control being moved first, the others by position.
    auto insertBefore = [](TControl* c1, TControl* c2, TAlign align) {
        switch (align) {
        case alTop: return c1->Top() < c2->Top();
        case alBottom: return c1->Top() + c1->Height() >= c2->Top() + c2->Height();
        case alLeft: return c1->Left() < c2->Left();
        case alRight: return c1->Left() + c1->Width() >= c2->Left() + c2->Width();
        default: return false;
        }
    };
    auto doPosition = [&rect](TControl* c, TAlign align) {
        int newWidth = rect.Right - rect.Left;
        if (newWidth < 0 || align == alLeft || align == alRight) newWidth = c->Width();
        int newHeight = rect.Bottom - rect.Top;
        if (newHeight < 0 || align == alTop || align == alBottom) newHeight = c->Height();
        int newLeft = rect.Left;
        int newTop = rect.Top;
        switch (align) {
        case alTop: rect.Top += newHeight; break;
        case alBottom:
            rect.Bottom -= newHeight;
            newTop = rect.Bottom;
            break;
        case alLeft: rect.Left += newWidth; break;
        case alRight:
            rect.Right -= newWidth;
            newLeft = rect.Right;
            break;
        default: break;
        }
        c->anchorMove_ = true;
        c->SetBounds(newLeft, newTop, newWidth, newHeight);
        c->anchorMove_ = false;
        // A control that refused its size (a descendant's constraint) keeps the rest correct.
        if (c->Width() != newWidth || c->Height() != newHeight) {
            switch (align) {
            case alTop: rect.Top -= newHeight - c->Height(); break;
            case alBottom: rect.Bottom += newHeight - c->Height(); break;
            case alLeft: rect.Left -= newWidth - c->Width(); break;
            case alRight: rect.Right += newWidth - c->Width(); break;
            case alClient:
                rect.Right += c->Width() - newWidth;
                rect.Bottom += c->Height() - newHeight;
                break;
            default: break;
            }
        }
    };
    auto doAlign = [&](TAlign align) {
        std::vector<TControl*> list;
        if (control && control->Align() == align && control->Visible()) list.push_back(control);
        for (int i = 0; i < ControlCount(); ++i) {
            TControl* c = Controls(i);
            if (c == control || c->Align() != align || !c->Visible()) continue;
            std::size_t j = 0;
            while (j < list.size() && !insertBefore(c, list[j], align)) ++j;
            list.insert(list.begin() + static_cast<std::ptrdiff_t>(j), c);
        }
        for (TControl* c : list) doPosition(c, align);
    };
    doAlign(alTop);
    doAlign(alBottom);
    doAlign(alLeft);
    doAlign(alRight);
    doAlign(alClient);
}

void TWinControl::SizeChanged() {
    const TRect client = ClientRect();
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->AnchorToParent(client.Width(), client.Height());
    Realign();
    TControl::SizeChanged();
}

void TWinControl::Loaded() {
    TControl::Loaded();
    FixupTabList();
    Realign();
}

// --- messages -------------------------------------------------------------------------------

void TWinControl::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CM_ENTER: CMEnter(message); break;
    case CM_EXIT: CMExit(message); break;
    case CM_DIALOGKEY: CMDialogKey(message); break;
    case CM_FOCUSCHANGED: Broadcast(message); break;
    case WM_KEYDOWN: {
        Word key = static_cast<Word>(message.WParam);
        DoKeyDown(key, BitsToShiftState(message.LParam));
        message.WParam = key;
        message.Result = key == 0;
        break;
    }
    case WM_KEYUP: {
        Word key = static_cast<Word>(message.WParam);
        DoKeyUp(key, BitsToShiftState(message.LParam));
        message.WParam = key;
        message.Result = key == 0;
        break;
    }
    case WM_CHAR: {
        char key = static_cast<char>(message.WParam & 0xFF);
        DoKeyPress(key);
        message.WParam = static_cast<unsigned char>(key);
        message.Result = key == 0;
        break;
    }
    default:
        TControl::WndProc(message);
        break;
    }
}

void TWinControl::CMEnter(TMessage&) { DoEnter(); }
void TWinControl::CMExit(TMessage&) { DoExit(); }
void TWinControl::CMDialogKey(TMessage& message) { Broadcast(message); }

void TWinControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit) OnExit(this);
}

bool TWinControl::DoKeyDown(Word& key, TShiftState shift) {
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview() && form->DoKeyDown(key, shift)) return true;
    if (key != 0) KeyDown(key, shift);
    return key == 0;
}

bool TWinControl::DoKeyUp(Word& key, TShiftState shift) {
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview() && form->DoKeyUp(key, shift)) return true;
    if (key != 0) KeyUp(key, shift);
    return key == 0;
}

bool TWinControl::DoKeyPress(char& key) {
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview() && form->DoKeyPress(key)) return true;
    if (key != 0) KeyPress(key);
    return key == 0;
}

void TWinControl::KeyDown(Word& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(Word& key, TShiftState shift) {
    if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char& key) {
    if (OnKeyPress) OnKeyPress(this, key);
}

bool TWinControl::WantsKey(Word, TShiftState) const { return false; }

void TWinControl::CMFontChanged(TMessage& message) {
    TControl::CMFontChanged(message);
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->Perform(CM_PARENTFONTCHANGED);
}

void TWinControl::CMColorChanged(TMessage& message) {
    TControl::CMColorChanged(message);
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->Perform(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMShowHintChanged(TMessage&) {
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->Perform(CM_PARENTSHOWHINTCHANGED);
}

void TWinControl::CMEnabledChanged(TMessage& message) {
    // The focus leaves before the widget is disabled, so Qt does not move it on its own.
    if (!Enabled() && Parent()) RemoveFocus(false);
    TControl::CMEnabledChanged(message);
}

void TWinControl::CMVisibleChanged(TMessage& message) {
    if (!Visible() && Parent()) RemoveFocus(false);
    TControl::CMVisibleChanged(message);
}

void TWinControl::UpdateWidgetVisibility() { TControl::UpdateWidgetVisibility(); }

} // namespace qmx
