#pragma once

#include "DeviceStateModel.h"
#include "device/DeviceNames.h"
#include "frameworkapi/IUIController.h"

#include <QPointer>

#include <map>

namespace orvx::framework {

class IInternalUpdateUI;
class IKeyboardNavigation;
class IMainSplitter;
class IUIEditModel;
class IWindowVisibility;
class ITextResource;

// The hub of one user-interface control. Keeps the pages (which their windows own), the
// device's state and the running operation's record; reaches the areas, the splitter and the
// edit model through their interfaces, none of which it owns.
class CUIController : public IUIController {
public:
    CUIController();
    ~CUIController() override;
    CUIController(const CUIController&) = delete;
    CUIController& operator=(const CUIController&) = delete;

    bool HandleEvent(controls::CUIEventBase& event) override;
    void RefreshControl(std::int32_t viewId, const QString& tag) override;
    void RefreshPage(std::int32_t viewId, std::int32_t controlId) override;
    void ValidatePages(std::int32_t controlId) override;
    void NotifyDataReloaded() override;
    void ActivateView(std::int32_t viewId) override;
    void ApplyPageSettings(std::int32_t viewId, const QString& viewSetting) override;
    void LoadLayoutDescription(const QString& layout) override;
    bool RegisterView(std::int32_t viewId, IApplicationView* page) override;
    QWidget* GetMainWindow() const override;
    void DestroyViews() override;
    std::int32_t GetActiveViewId() const override { return m_activeViewId; }
    IIdentificationArea* GetIdentificationArea() const override { return m_identificationArea; }
    IActionArea* GetActionArea() const override { return m_actionArea; }
    IStatusArea* GetStatusArea() const override { return m_statusArea; }
    IToolbarArea* GetToolbarArea() const override { return m_toolbarArea; }
    INavigationArea* GetNavigationArea() const override { return m_navigationArea; }
    IApplicationView* GetView(std::int32_t viewId) const override;
    void HideActionArea(bool hide) override;
    void HideToolbarArea(bool hide) override;
    void SetNavigationHidden(bool hide) override;
    bool IsNavigationHidden() const override;
    bool IsRegistered() const override { return m_registered; }
    bool IsPrivateDialogEnabled() override;
    void SetPrivateDialogEnabled(bool enabled) override { m_privateDialogFlag = enabled; }
    void SetSplitterFraction(int divisor) override;
    void Reserved(std::int32_t first, const QString& second) override;
    void SetUserLevel(const QString& level) override;
    QString GetUserLevel() const override { return m_userLevel; }
    bool IsWritable() const override;
    void ApplyWritability() override;
    com::Variant GetParameterValue(const QString& tag) override;
    void SetParameterValue(const QString& tag, const com::Variant& value) override;
    bool FrictionLimitsValid() const override { return m_frictionLimitsValid; }
    void SetFrictionLimitsValid(bool valid) override { m_frictionLimitsValid = valid; }
    void SetOperation(bool running, std::int32_t ownerViewId, std::int32_t expectedCode) override;
    bool IsOperationRunning() const override { return m_operationRunning; }
    std::int32_t GetOperationOwner() const override { return m_operationOwner; }
    std::int32_t GetOperationCode() const override { return m_operationCode; }
    DeviceState GetDeviceState() override;
    bool IsDeviceConnected() override;
    std::uint32_t GetDeviceMode() override;
    QString GetModeText() override;
    QBrush GetBackgroundBrush() const override { return m_background; }

    // Set by the control's FDT entry and by its window composition.
    void SetEditModel(IUIEditModel* model);
    void SetRegistered(bool registered) { m_registered = registered; }
    void SetTextProvider(ITextResource* texts) { m_texts = texts; }
    ITextResource* GetTextResource() const override { return m_texts; }
    void SetKeyboardNavigation(IKeyboardNavigation* navigation) { m_keyboard = navigation; }
    void SetMainSplitter(IMainSplitter* splitter) { m_splitter = splitter; }
    void SetActionArea(IActionArea* area, IInternalUpdateUI* updates, IWindowVisibility* visibility);
    void SetIdentificationArea(IIdentificationArea* area, IInternalUpdateUI* updates);
    void SetStatusArea(IStatusArea* area, IInternalUpdateUI* updates);
    void SetToolbarArea(IToolbarArea* area, IInternalUpdateUI* updates, IWindowVisibility* visibility);
    void SetNavigationArea(INavigationArea* area) { m_navigationArea = area; }

    int GetSplitterPosition() const { return m_splitterPosition; }
    bool GetPrivateDialogFlag() const { return m_privateDialogFlag; }
    IUIEditModel* GetEditModel() const { return m_editModel; }

    // A business-object notification: code 100 shows its box and goes no further. Any other
    // derives the device's state once and holds it while the notification is handled; code 1
    // takes the state document's flags; the notification passes the areas, the edit model and,
    // when it owns the running operation or none runs, the shown page. Last, the shown page
    // recomputes its gating, once, when the device's state changed (the first notification's
    // always counts), the user's rights changed, or another page's operation ended.
    void OnDtmUpdate(std::int32_t code, const QString& text);
    // Gives every page its PrepareToClose; the control calls it while the device link stands.
    void PrepareToClose();

private:
    // Puts the refusal of a write on the status line.
    void ShowRefusal() const;

    // A page is its window's: Qt owns it as a child of the main window, and the table forgets a
    // page whose window is gone.
    struct Page {
        IApplicationView* view = nullptr;
        QPointer<QWidget> window;
    };
    // Calls 'visit' for every page whose window still stands, in view id order.
    template <class Visit>
    void forEachPage(Visit visit);
    void postRelayout() const;
    // Deactivates and hides the page shown, if any.
    void hideShownPage();
    // A view without a page: an empty body that says so, never the last page's under the new
    // selection.
    void showUnavailable(std::int32_t viewId);
    // The shown page recomputes its gating: at once, or at the end of the notification handled.
    void recheckShownPage();
    void distribute(std::int32_t code, const QString& text);

    IKeyboardNavigation* m_keyboard = nullptr;
    int m_splitterPosition = -1;
    std::map<std::int32_t, Page> m_pages;
    IMainSplitter* m_splitter = nullptr;
    IActionArea* m_actionArea = nullptr;
    IInternalUpdateUI* m_actionUpdates = nullptr;
    IWindowVisibility* m_actionVisibility = nullptr;
    IIdentificationArea* m_identificationArea = nullptr;
    IInternalUpdateUI* m_identificationUpdates = nullptr;
    IStatusArea* m_statusArea = nullptr;
    IInternalUpdateUI* m_statusUpdates = nullptr;
    INavigationArea* m_navigationArea = nullptr;
    IToolbarArea* m_toolbarArea = nullptr;
    IInternalUpdateUI* m_toolbarUpdates = nullptr;
    IWindowVisibility* m_toolbarVisibility = nullptr;
    IUIEditModel* m_editModel = nullptr;
    CDeviceStateModel m_state{*this};
    bool m_recheckShownPage = false;  // asked for while a notification is handled
    bool m_frictionLimitsValid = true;
    bool m_registered = false;
    bool m_privateDialogFlag = false;
    std::int32_t m_activeViewId = -1;
    QPointer<QWidget> m_unavailable;  // the body shown for a view without a page
    ITextResource* m_texts = nullptr;
    QString m_userLevel;
    std::int32_t m_operationCode = device::code::None;
    std::int32_t m_operationOwner = -1;
    bool m_operationRunning = false;
    QBrush m_background{Qt::white};
};

}  // namespace orvx::framework
