#pragma once

#include "framework/IActionArea.h"
#include "framework/IIdentificationArea.h"
#include "framework/IInternalUpdateUI.h"
#include "framework/IKeyboardNavigation.h"
#include "framework/IMainSplitter.h"
#include "framework/IToolbarArea.h"
#include "framework/IWindowVisibility.h"
#include "frameworkapi/IApplicationView.h"
#include "frameworkapi/IStatusArea.h"

#include <QStringList>
#include <QWidget>

#include <memory>

namespace orvx::test {

// Where every fake writes what reached it, so that tests can check the order across receivers.
using DeliveryLog = QStringList;

// Records the notifications handed to it as "<name> <code> <text>".
class RecordingReceiver : public framework::IInternalUpdateUI {
public:
    RecordingReceiver(QString name, DeliveryLog* log) : m_name(std::move(name)), m_log(log) {}
    void OnUpdate(std::int32_t code, const QString& text) override
    {
        m_log->append(QStringLiteral("%1 %2 %3").arg(m_name).arg(code).arg(text).trimmed());
    }

private:
    QString m_name;
    DeliveryLog* m_log;
};

class FakeStatusArea : public RecordingReceiver, public framework::IStatusArea {
public:
    explicit FakeStatusArea(DeliveryLog* log) : RecordingReceiver(QStringLiteral("status"), log) {}
    QString message;
    QStringList messages;  // every message, in order
    int connection = -1;
    int dataSet = -1;
    int dataSource = -1;
    int deviceStatus = -1;
    bool communicating = false;
    void SetMessage(const QString& text) override
    {
        message = text;
        messages.append(text);
    }
    void SetConnectionState(int code) override { connection = code; }
    void SetDataSetState(int code) override { dataSet = code; }
    void SetDataSource(int code) override { dataSource = code; }
    void SetDeviceStatus(int code) override { deviceStatus = code; }
    void SetCommunicating(bool on) override { communicating = on; }
    void SetStandingWarning(const QString& text) override { warning = text; }
    QString warning;
};

class FakeIdentificationArea : public RecordingReceiver, public framework::IIdentificationArea {
public:
    explicit FakeIdentificationArea(DeliveryLog* log) : RecordingReceiver(QStringLiteral("identification"), log) {}
    QString deviceName;
    QString makerText;
    QString infoText;
    int leftPicture = -1;
    int rightPicture = -1;
    void SetDeviceName(const QString& text) override { deviceName = text; }
    void SetMakerText(const QString& text) override { makerText = text; }
    void SetInfoText(const QString& text) override { infoText = text; }
    void SetLeftPicture(int id) override { leftPicture = id; }
    void SetLeftPictureFile(const QString&) override {}
    void SetRightPicture(int id) override { rightPicture = id; }
    void SetRightPictureFile(const QString&) override {}
};

class FakeVisibility : public framework::IWindowVisibility {
public:
    bool visible = true;
    QWidget window;
    void SetVisible(bool v) override { visible = v; }
    bool GetVisible() const override { return visible; }
    QWidget* GetAreaWindow() const override { return const_cast<QWidget*>(&window); }
};

class FakeToolbarArea : public RecordingReceiver, public framework::IToolbarArea, public FakeVisibility {
public:
    explicit FakeToolbarArea(DeliveryLog* log) : RecordingReceiver(QStringLiteral("toolbar"), log) {}
    struct Action {
        int id;
        int style;
        QString tip;
        bool hasIcon;
    };
    QList<Action> actions;
    int clears = 0;
    void AddIconAction(int id, const QIcon& icon, int style, const QString& tip) override
    {
        actions.append({id, style, tip, !icon.isNull()});
    }
    void AddBitmapAction(int id, int, int style, const QString& tip) override
    {
        actions.append({id, style, tip, true});
    }
    void AddFileAction(int id, const QString&, int style, const QString& tip) override
    {
        actions.append({id, style, tip, true});
    }
    void AddSeparator() override {}
    bool GetActionTip(int id, QString* tip) const override
    {
        for (const auto& a : actions)
            if (a.id == id) {
                *tip = a.tip;
                return true;
            }
        return false;
    }
    void Clear() override
    {
        ++clears;
        actions.clear();
    }
};

class FakeActionArea : public RecordingReceiver, public framework::IActionArea, public FakeVisibility {
public:
    explicit FakeActionArea(DeliveryLog* log) : RecordingReceiver(QStringLiteral("action"), log) {}
    void EnableAction(int, bool) override {}
    void EnableAllActions(bool) override {}
    bool AddAction(int, const QString&, int) override { return true; }
    bool RemoveAction(int) override { return true; }
};

// A splitter whose page pane is whatever window was put in last.
class FakeSplitter : public framework::IMainSplitter {
public:
    QWidget parent;
    QWidget* window = new QWidget(&parent);
    QWidget* page = nullptr;
    bool navigationHidden = false;
    int position = -1;
    int relayouts = 0;
    QWidget* GetWindow() const override { return window; }
    QWidget* GetPageWindow() const override { return page; }
    void SetPageWindow(QWidget* p) override { page = p; }
    void SetNavigationHidden(bool hidden) override { navigationHidden = hidden; }
    bool IsNavigationHidden() const override { return navigationHidden; }
    void SetPosition(int pixels) override { position = pixels; }
    int GetPosition() const override { return position; }
    void Relayout() override { ++relayouts; }
};

class FakeKeyboardNavigation : public framework::IKeyboardNavigation {
public:
    QWidget* slots_[5] = {};
    void RegisterWindow(int slot, QWidget* window) override { slots_[slot] = window; }
    void UnregisterWindow(int slot) override { slots_[slot] = nullptr; }
};

// A page that records what the controller and the edit model asked of it. It is its own
// window, as every page is, and goes when the window does.
class FakePage : public QWidget, public framework::IApplicationView {
public:
    FakePage(std::int32_t viewId, DeliveryLog* log) : m_name(QStringLiteral("page%1").arg(viewId)), m_log(log) {}
    bool active = false;
    int activations = 0;
    int accessUpdates = 0;
    int writeAccessRefreshes = 0;
    int invalidCleared = 0;
    QList<std::int32_t> refreshedControls;
    QStringList refreshedTags;
    QList<std::int32_t> validated;
    QString appliedSetting;
    bool valid = true;

    QWidget* GetWindow() const override { return const_cast<FakePage*>(this); }
    bool IsActivated() const override { return active; }
    void Activate() override
    {
        active = true;
        ++activations;
    }
    void Deactivate() override { active = false; }
    void ApplyViewSetting(const QString& text) override { appliedSetting = text; }
    void SetController(framework::IUIController*) override {}
    void SetToolTip(QWidget*, const QString&) override {}
    void RemoveToolTip(QWidget*) override {}
    void OnControlStateChanged(std::int32_t) override {}
    void OnControlValidated(controls::IFdtControl*, bool) override {}
    void ShowValidationErrors(std::int32_t, std::int32_t) override {}
    bool CheckValid(std::int32_t id) override
    {
        validated.append(id);
        return valid;
    }
    void ClearInvalid() override { ++invalidCleared; }
    int GetStateLevel() const override { return 0; }
    void OnUpdate(std::int32_t code, const QString& text) override
    {
        m_log->append(QStringLiteral("%1 %2 %3").arg(m_name).arg(code).arg(text).trimmed());
    }
    void RefreshControlRange(std::int32_t, std::int32_t) override {}
    void RefreshByTag(const QString& tag) override { refreshedTags.append(tag); }
    void RefreshControls(std::int32_t id) override { refreshedControls.append(id); }
    void RefreshWriteAccess() override { ++writeAccessRefreshes; }
    void LoadViewSetting() override {}
    void SetScrollSize(QSize) override {}
    void UpdateAccess(bool force) override
    {
        if (force)
            ++accessUpdates;
    }

private:
    QString m_name;
    DeliveryLog* m_log;
};

}  // namespace orvx::test
