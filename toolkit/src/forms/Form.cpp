#include "qmx/toolkit/Form.h"

#include "qmx/toolkit/ClassBuilder.h"

namespace qmx {

const TClassInfo& TForm::StaticClassInfo() {
    static const TClassInfo info =
        TClassInfoBuilder<TForm>("TForm", &inherited::StaticClassInfo())
            .Property("ActiveControl", &TForm::ActiveControl, &TForm::SetActiveControl)
            .Property("AutoScroll", &TForm::AutoScroll, &TForm::SetAutoScroll).Default(true)
            .Property("BorderIcons", &TForm::BorderIcons, &TForm::SetBorderIcons).Type("TBorderIcons")
                .Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize}.Bits())
            .Property("BorderStyle", &TForm::BorderStyle, &TForm::SetBorderStyle).Default(bsSizeable)
            .Publish("Caption")
            .Publish("ClientHeight")
            .Publish("ClientWidth")
            .Publish("Color").Default(clBtnFace)
            .Publish("Enabled")
            .Publish("Font")
            .Property("FormStyle", &TForm::FormStyle, &TForm::SetFormStyle).Default(fsNormal)
            .Property("KeyPreview", &TForm::KeyPreview, &TForm::SetKeyPreview).Default(false)
            .Property("OldCreateOrder", &TForm::OldCreateOrder, &TForm::SetOldCreateOrder).Default(false)
            .Publish("ParentFont").Default(false)
            .Property("PixelsPerInch", &TForm::PixelsPerInch, &TForm::SetPixelsPerInch).NoDefault()
            .Publish("PopupMenu")
            .Property("Position", &TForm::Position, &TForm::SetPosition).Default(poDesigned)
            .Property("Scaled", &TForm::Scaled, &TForm::SetScaled).Default(true)
            .Publish("ShowHint")
            .Property("TextHeight", &TForm::TextHeight, &TForm::SetTextHeight).NoDefault()
            .Publish("Visible").Default(false)
            .Property("WindowState", &TForm::WindowState, &TForm::SetWindowState).Default(wsNormal)
            .Property("OnActivate", &TForm::OnActivate)
            .Publish("OnClick")
            .Property("OnClose", &TForm::OnClose)
            .Property("OnCloseQuery", &TForm::OnCloseQuery)
            .Property("OnCreate", &TForm::OnCreate)
            .Publish("OnDblClick")
            .Property("OnDeactivate", &TForm::OnDeactivate)
            .Property("OnDestroy", &TForm::OnDestroy)
            .Property("OnHide", &TForm::OnHide)
            .Publish("OnKeyDown")
            .Publish("OnKeyPress")
            .Publish("OnKeyUp")
            .Publish("OnMouseDown")
            .Publish("OnMouseMove")
            .Publish("OnMouseUp")
            .Publish("OnResize")
            .Property("OnShow", &TForm::OnShow)
            .Build();
    return info;
}

QMX_REGISTER_CLASS(TForm);

TForm::TForm(TComponent* owner) : TCustomForm(owner) {}

} // namespace qmx
