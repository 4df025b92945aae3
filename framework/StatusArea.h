#pragma once

#include "framework/IInternalUpdateUI.h"
#include "frameworkapi/IStatusArea.h"

#include <QPointer>
#include <QString>

#include <array>
#include <cstdint>

class QLabel;
class QStatusBar;
class QWidget;

namespace orvx::framework {

class ITextResource;

// The status bar along the bottom edge: nine panes (ids 500 to 508) showing connection,
// communication, data source, data-set state, device status and a message; each pane is a
// child "pane_<id>" with the labels "icon" and "text" and carries its tool tip. The panes' contents
// are kept here, so that setters made before the bar exists show once it is created. The area
// owns its bar.
class CStatusArea : public IInternalUpdateUI, public IStatusArea {
public:
    static constexpr int kPaneCount = 9;
    static constexpr int kFirstPaneId = 500;

    CStatusArea();
    ~CStatusArea() override;
    CStatusArea(const CStatusArea&) = delete;
    CStatusArea& operator=(const CStatusArea&) = delete;

    // Creates the bar as a visible child of 'parent'; a second call answers the existing bar.
    QStatusBar* CreateWindow(QWidget* parent);
    // Texts and tool tips come from here (not owned); without one the panes get none.
    void SetTextProvider(ITextResource* texts);
    // The bar's preferred height, 0 before it exists.
    int Height() const;

    // What a pane shows: its text, tool tip and the icon id it was given (0: none).
    QString PaneText(int pane) const;
    const QString& StandingWarning() const { return m_warningText; }
    QString PaneToolTip(int pane) const;
    std::uint32_t PaneIconId(int pane) const;

    // IInternalUpdateUI: code 1 carries the state document; other codes are ignored.
    void OnUpdate(std::int32_t code, const QString& text) override;

    // IStatusArea
    void SetMessage(const QString& text) override;
    void SetConnectionState(int code) override;
    void SetDataSetState(int code) override;
    void SetDataSource(int code) override;
    void SetDeviceStatus(int code) override;
    void SetCommunicating(bool communicating) override;
    void SetStandingWarning(const QString& text) override;

private:
    struct Pane {
        std::uint32_t iconId = 0;
        QString text;
        QString toolTip;
        QWidget* frame = nullptr;  // children of m_bar; valid only while it lives
        QLabel* icon = nullptr;
        QLabel* label = nullptr;
    };

    // Replaces the pane's contents: the icon (0: none) and the texts of the ids (negative: none).
    void setPane(int pane, std::uint32_t iconId, int textId, int toolTipId);
    QString textOf(int textId) const;
    void render(const Pane& pane) const;

    QPointer<QStatusBar> m_bar;
    ITextResource* m_texts = nullptr;
    std::array<Pane, kPaneCount> m_panes;
    QString m_warningText;
    QPointer<QLabel> m_warning;  // a child of m_bar
};

}  // namespace orvx::framework
