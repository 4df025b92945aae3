#pragma once

#include "IFieldPage.h"
#include "IGatedPage.h"
#include "IHeaderPage.h"
#include "OperationButtons.h"
#include "PageAccess.h"
#include "frameworkapi/IApplicationView.h"

#include <QList>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

class QLabel;
class QPushButton;
class QScrollArea;
class QVBoxLayout;

namespace orvx::framework {

class CPageFields;
class CToolTipHolder;
class ITextResource;

// The skeleton every page of the device shares: the common header (items 201 to 205, 207, 295
// and the information label 313), the data-bound controls by control id, the bookkeeping of
// invalid inputs, tool tips and scrolling. Gating by connection, device mode, user rights and
// other pages' operations is CPageAccess's, the operation buttons and their mask are
// COperationButtons'; the page owns both and keeps their operations as its own. The parts see
// the page through narrow interfaces: IGatedPage, IFieldPage and IHeaderPage.
//
// The page is a scroll area around a surface; the header sits at the top of the surface and a
// page class puts its own widgets into BodyLayout(), which makes them direct children of
// Surface() (the widgets whose mouse events reach the tool-tip holder).
class CApplicationViewBase : public QWidget,
                             public IApplicationView,
                             public IGatedPage,
                             public IFieldPage,
                             public IHeaderPage {
public:
    using Maker = std::function<std::unique_ptr<CApplicationViewBase>()>;

    // The information label's dialog item.
    static constexpr int kInformationItem = 313;

    // Restriction bits: why the page is currently restricted.
    using enum CPageAccess::RestrictionBit;

    explicit CApplicationViewBase(QWidget* parent = nullptr);
    ~CApplicationViewBase() override;

    // Makes a page, hands it the controller, the texts and the view id, puts its window under the
    // controller's main window, loads its ViewSetting and registers it with the controller. Any
    // failure on the way destroys the page and answers none; nothing is made without a
    // controller or texts. A page registered is its window's: the main window owns it.
    static IApplicationView* Create(const Maker& make, std::int32_t viewId, IUIController* controller,
                                    ITextResource* texts);

    // IApplicationView
    QWidget* GetWindow() const override;
    bool IsActivated() const override { return m_active; }
    void Activate() override;
    void Deactivate() override;
    // Configures each control named by a ControlData element; text that does not parse changes nothing.
    void ApplyViewSetting(const QString& viewSetting) override;
    // The same from a ViewSetting parsed already (IHeaderPage).
    void ApplyViewSettingDocument(const xml::XmlDocument& viewSetting) override;
    void SetController(IUIController* controller) override { m_controller = controller; }
    void SetToolTip(QWidget* window, const QString& text) override;
    void RemoveToolTip(QWidget* window) override;
    void OnControlStateChanged(std::int32_t controlId) override {}
    void OnControlValidated(controls::IFdtControl* control, bool valid) override;
    void ShowValidationErrors(std::int32_t firstControlId, std::int32_t lastControlId) override;
    bool CheckValid(std::int32_t controlId) override;
    void ClearInvalid() override { m_invalid.clear(); }
    int GetStateLevel() const override { return m_stateLevel; }
    void OnUpdate(std::int32_t code, const QString& text) override;
    void RefreshControlRange(std::int32_t firstControlId, std::int32_t lastControlId) override;
    void RefreshByTag(const QString& tag) override;
    void RefreshControls(std::int32_t controlId) override;
    void RefreshWriteAccess() override;
    // Creates the header controls; page classes call it first, then create theirs and apply
    // their ViewSetting resource.
    void LoadViewSetting() override;
    void SetScrollSize(QSize size) override;
    void UpdateAccess(bool force) override;

    // Adds the control under its control id and gives it the page's view id. A control whose id
    // is taken already is not added (and is destroyed); answers whether it was added.
    bool RegisterControl(std::unique_ptr<controls::IFdtControl> control) override;
    controls::IFdtControl* Control(std::int32_t controlId) const;
    bool IsInvalid(std::int32_t controlId) const { return m_invalid.contains(controlId); }
    // Visits every control in id order.
    void ForEachControl(const std::function<void(controls::IFdtControl&)>& visit) const;

    // Gating by device mode and by connection, with the information label's messages; pages
    // add their own part in ModeGated and OnlineGated.
    void GateForMode(bool allowed) { m_access->GateForMode(allowed); }
    void GateForOnline(bool online) { m_access->GateForOnline(online); }
    // Gates or ungates the page after the device mode may have changed.
    void ReevaluateMode();

    // Operation buttons ("method windows"): the mode button first, then the page's own. Every
    // enabling of one goes through this class, which never enables one for a user who may not
    // write: the mask remembers what the page wants, the widgets show what the user may do.
    void AddMethodWindow(QWidget* window) { m_buttons->Add(window); }
    const QList<QPointer<QWidget>>& MethodWindows() const { return m_buttons->Windows(); }
    // Sets the mask from the buttons' current enabled state.
    void RecordButtons() { m_buttons->Record(); }
    // Stores the mask and enables exactly the buttons whose bit is set; an unchanged mask does
    // nothing unless forced.
    void ApplyButtons(std::uint8_t mask, bool force = false) { m_buttons->Apply(mask, force); }
    // Disables every button, keeping the mask for a later ApplyButtons; call RecordButtons first.
    // The buttons of 'usableWhileRunning' (bit i: button i) that the mask holds stay enabled
    // while the operation this page started runs; every other button stays locked until then,
    // whatever enables buttons meanwhile.
    void LockButtons(std::uint8_t usableWhileRunning = 0) { m_buttons->Lock(usableWhileRunning); }
    // Enables the mode button (method window 0) when the user may operate the device.
    void EnableModeButton() { m_buttons->EnableModeButton(); }
    // Whether the user may start device operations from this page: a controller and write rights.
    bool MayOperate() const;

    // Whether an operation may start now: a user with write rights and no operation running.
    // When not, says why on the status line. For the steps an operation needs before its start.
    bool MayStartOperation();
    // Starts a device operation with the command of the given button control (its tag, or the
    // method number when it has none), then records it as this page's running operation
    // (expecting 500 + method), records and locks the operation buttons (but those of
    // 'usableWhileRunning', see LockButtons) and puts the progress text, when given, on the
    // status line. A start that is not allowed, refused or failed records nothing, leaves the
    // buttons as they were, shows why on the status line and answers false.
    bool StartOperation(std::int32_t buttonControlId, int method, const QString& progressText = {},
                        std::uint8_t usableWhileRunning = 0) override;
    // Puts a text on the status line; a failure goes to the log too.
    void ShowStatus(const QString& text);
    void ShowFailure(const QString& text);
    // Refuses what the user asked for, saying why: on the status line (and in the log) always,
    // in a message box too when private dialogs are enabled.
    void Refuse(const QString& text);
    // Whether the entries of the controls firstControlId to lastControlId are valid. When one
    // is not, the first one's message goes to the status line and, with private dialogs, each
    // one's message to a message box; answers false.
    bool EntriesValid(std::int32_t firstControlId, std::int32_t lastControlId);
    void SetEnableMask(std::uint8_t mask) { m_buttons->SetMask(mask); }
    std::uint8_t EnableMask() const { return m_buttons->Mask(); }

    // Device modes (1 Setup, 2 Manual, 4 Normal) of which the device must be in one for the
    // page's methods and parameters; 512 accepts any mode.
    void SetRequiredMode(std::uint32_t modes) { m_access->SetRequiredMode(modes); }
    std::uint32_t RequiredMode() const { return m_access->RequiredMode(); }
    std::uint32_t CurrentRestriction() const { return m_access->Restriction(); }

    // Cancels the running operation: with none running the page receives 523 at once and nothing
    // reaches the device; otherwise method "23" is sent and the text goes to the status line.
    void CancelOperation(const QString& cancellingText);

    IUIController* Controller() const override { return m_controller; }
    ITextResource* TextResource() const { return m_texts; }
    void SetTextResource(ITextResource* texts) { m_texts = texts; }
    std::int32_t ViewId() const { return m_viewId; }
    void SetViewId(std::int32_t viewId) { m_viewId = viewId; }

    QWidget* Surface() const { return m_surface; }
    QVBoxLayout* BodyLayout() const { return m_bodyLayout; }
    QLabel* InformationLabel() const { return m_informationLabel; }
    QPushButton* ModeButton() const { return m_modeButton; }
    CToolTipHolder* ToolTips() const { return m_toolTips; }
    // The header's fields (controls 3 to 9), made with the page; bound by CreateHeaderControls.
    CPageFields& HeaderFields() const override { return *m_headerFields; }
    QScrollArea* ScrollArea() const { return m_scrollArea; }

protected:
    // The page's own initialisation once its window sits under the main window: build the body,
    // add method windows, set the enable mask and the required mode.
    virtual void InitDialog() {}
    // IGatedPage: the page's own part of mode and connection gating; nothing by default.
    void EnableControlsForMode(bool enable) override;
    void ModeGated(bool) override {}
    void OnlineGated(bool) override {}
    // IFieldPage
    IApplicationView& View() override { return *this; }
    // Creates and registers the data-bound controls of the header.
    virtual void CreateHeaderControls();
    void SetStateLevel(int level) { m_stateLevel = level; }

private:
    void BuildHeader();
    // The invalid controls' texts in id order within [first, last], empty texts left out.
    QStringList InvalidTexts(std::int32_t first, std::int32_t last) const;
    void ShowErrors(const QStringList& texts);

    IUIController* m_controller = nullptr;
    std::int32_t m_viewId = 0;
    ITextResource* m_texts = nullptr;
    QLabel* m_informationLabel = nullptr;
    // Declared before the invalid set, so that the set goes first.
    std::map<std::int32_t, std::unique_ptr<controls::IFdtControl>> m_controls;
    std::map<std::int32_t, controls::IFdtControl*> m_invalid;
    CToolTipHolder* m_toolTips = nullptr;
    bool m_active = false;
    int m_stateLevel = 0;

    QScrollArea* m_scrollArea = nullptr;
    QWidget* m_surface = nullptr;
    QVBoxLayout* m_bodyLayout = nullptr;
    QPushButton* m_modeButton = nullptr;
    std::unique_ptr<CPageFields> m_headerFields;
    // Made with the header (the mode button is their first); the gating uses the buttons.
    std::unique_ptr<COperationButtons> m_buttons;
    std::unique_ptr<CPageAccess> m_access;
};

}  // namespace orvx::framework
