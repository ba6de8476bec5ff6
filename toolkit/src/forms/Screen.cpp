#include "qmx/toolkit/Screen.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <string>

#include "qmx/toolkit/ClassBuilder.h"
#include "qmx/toolkit/CustomForm.h"

namespace qmx {

TScreen* Screen = new TScreen(nullptr);

const TClassInfo& TScreen::StaticClassInfo() {
    static const TClassInfo info =
        TClassInfoBuilder<TScreen>("TScreen", &inherited::StaticClassInfo()).Abstract().Build();
    return info;
}

TScreen::TScreen(TComponent* owner)
    : TComponent(owner), iconFont_(new TFont), hintFont_(new TFont), menuFont_(new TFont) {
    for (TFont* font : {iconFont_, hintFont_, menuFont_}) {
        font->SetName("Tahoma");
        font->SetHeight(-11);
    }
}

TScreen::~TScreen() {
    delete iconFont_;
    delete hintFont_;
    delete menuFont_;
}

TCustomForm* TScreen::Forms(int index) const {
    if (index < 0 || index >= FormCount())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return forms_[static_cast<std::size_t>(index)];
}

int TScreen::Width() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().width() : 0;
}

int TScreen::Height() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().height() : 0;
}

void TScreen::AddForm(TCustomForm* form) { forms_.push_back(form); }

void TScreen::RemoveForm(TCustomForm* form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
    if (focusedForm_ == form) focusedForm_ = nullptr;
    if (activeCustomForm_ == form) activeCustomForm_ = nullptr;
    if (activeControl_ && GetParentForm(activeControl_) == form) activeControl_ = nullptr;
}

void TScreen::MoveToFront(TCustomForm* form) {
    const auto it = std::find(forms_.begin(), forms_.end(), form);
    if (it == forms_.end() || it == forms_.begin()) return;
    forms_.erase(it);
    forms_.insert(forms_.begin(), form);
}

} // namespace qmx
