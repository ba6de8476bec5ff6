#pragma once
// The controller a module library hands to its host through GetController. The host calls the
// eighteen virtual operations by their position, so their order is binding; the destructor is
// declared after them so that it does not take one of the first eighteen slots.
#include <cstdint>
#include <functional>

#include "qmx/Variant.h"

namespace qmx {

class TObject; // the toolkit's root class; the host passes and receives it opaquely

class TDLLBaseController;

// Notification codes passed to OnNotify.
inline constexpr std::int32_t NOTIFY_CREATED = 0x100;
inline constexpr std::int32_t NOTIFY_SHOWN = 0x110;
inline constexpr std::int32_t NOTIFY_HIDDEN = 0x120;
inline constexpr std::int32_t NOTIFY_DESTROYED = 0x130;
inline constexpr std::int32_t NOTIFY_EXTRA = 0x140;

// A 16-bit Boolean: -1 true, 0 false.
using WordBool = std::int16_t;
inline constexpr WordBool WORDBOOL_TRUE = -1;
inline constexpr WordBool WORDBOOL_FALSE = 0;

// A 32-bit window handle.
using HWND32 = std::uint32_t;

// Method pointer (Code, Controller); empty when unassigned.
using TControllerNotifyEvent = std::function<void(std::int32_t code, TDLLBaseController* controller)>;

class TDLLBaseController {
public:
    // The host's to set and read; the module never writes HostObject or OnNotify and never
    // reads ResultCode or ResultData.
    Variant HostObject;
    std::int32_t ResultCode = 0;
    Variant ResultData;
    TControllerNotifyEvent OnNotify;

    // Slots 0..10: implemented by the concrete controller.
    virtual WideString GetVersion() = 0;
    virtual WordBool GetVisible() = 0;
    virtual void SetVisible(WordBool value) = 0;
    virtual HWND32 GetHandle() = 0;
    virtual std::int32_t Initialize(Variant startParams) = 0;
    virtual std::int32_t SetParams(Variant params) = 0;
    virtual std::int32_t SetParam(std::int32_t code, Variant value) = 0;
    virtual Variant ShowModal() = 0;
    virtual void FreeForm() = 0;
    virtual std::int32_t GetInfo(Variant& info) = 0;
    virtual bool IsFormFreed() = 0;
    // Slots 11..17: bodies here.
    virtual void NotifyCreated(TObject* sender);
    virtual void NotifyShown(TObject* sender);
    virtual void NotifyHidden(TObject* sender);
    virtual void NotifyDestroyed(TObject* sender);
    virtual void NotifyExtra(TObject* sender);
    virtual void DoNotify(std::int32_t code);
    virtual void Reserved();

    virtual ~TDLLBaseController();

protected:
    TDLLBaseController() = default;
    TDLLBaseController(const TDLLBaseController&) = delete;
    TDLLBaseController& operator=(const TDLLBaseController&) = delete;
};

// The one function a module library exports. Raises Exception when the library has no
// controller class registered.
extern "C" {
using GetControllerFn = TDLLBaseController* (*)();
}

} // namespace qmx

extern "C" qmx::TDLLBaseController* GetController();
