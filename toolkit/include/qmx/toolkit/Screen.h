#pragma once
// TScreen: the forms of the application, the active form and control, the system fonts.
#include <vector>

#include "qmx/toolkit/Component.h"
#include "qmx/toolkit/Font.h"

namespace qmx {

class TCustomForm;
class TWinControl;

class TScreen : public TComponent {
    QMX_CLASS(TScreen, TComponent)

public:
    explicit TScreen(TComponent* owner);
    ~TScreen() override;

    // The form with the focus (the active window) and its focused control; null when none.
    TCustomForm* ActiveForm() const { return focusedForm_; }
    TCustomForm* ActiveCustomForm() const { return activeCustomForm_; }
    TWinControl* ActiveControl() const { return activeControl_; }
    TCustomForm* FocusedForm() const { return focusedForm_; }

    // Every existing form, the most recently active first.
    int FormCount() const { return static_cast<int>(forms_.size()); }
    TCustomForm* Forms(int index) const;
    const std::vector<TCustomForm*>& FormList() const { return forms_; }

    TFont* IconFont() const { return iconFont_; }
    TFont* HintFont() const { return hintFont_; }
    TFont* MenuFont() const { return menuFont_; }
    int PixelsPerInch() const { return 96; }
    int Width() const;
    int Height() const;

    // Raised whenever the focus moves; a focus handler that moved the focus is seen by it.
    int FocusCount() const { return focusCount_; }

private:
    friend class TCustomForm;
    friend class TWinControl;
    friend class TApplication;
    void AddForm(TCustomForm* form);
    void RemoveForm(TCustomForm* form);
    void MoveToFront(TCustomForm* form);

    std::vector<TCustomForm*> forms_;
    TCustomForm* focusedForm_ = nullptr;
    TCustomForm* activeCustomForm_ = nullptr;
    TWinControl* activeControl_ = nullptr;
    TFont* iconFont_;
    TFont* hintFont_;
    TFont* menuFont_;
    int focusCount_ = 0;
};

extern TScreen* Screen;

} // namespace qmx
