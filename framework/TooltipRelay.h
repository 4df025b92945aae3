#pragma once

#include "platform/ui/MessageHook.h"

#include <QHash>
#include <QPointer>
#include <QString>

#include <map>

class QFontMetrics;
class QWidget;

namespace orvx::framework {

// The tool tips of one page: which of its widgets carries which tip. Tips are shown by the
// toolkit (each widget's own tool tip, wrapped at 300 pixels, shown for 10 s); the relay hands
// the holder the mouse events of the page's direct children, and a click or a wheel turn over
// one of them dismisses a tip that is showing.
class CToolTipHolder : public QObject {
public:
    static constexpr int kWrapWidth = 300;
    static constexpr int kDisplayTime = 10000;

    explicit CToolTipHolder(QObject* parent = nullptr);
    ~CToolTipHolder() override;

    // Makes the text the widget's tip; a tip the widget had is replaced.
    void SetTip(QWidget* window, const QString& text);
    void RemoveTip(QWidget* window);
    // The tip as it was set (unwrapped), or a null text when the widget has none.
    QString TipOf(const QWidget* window) const;

    // A mouse event of one of the page's direct children, handed on by the relay.
    void Relay(QWidget* target, const QEvent& event);
    QWidget* LastRelayed() const { return m_lastRelayed; }
    int RelayedCount() const { return m_relayed; }

    // Breaks the text into lines no wider than 'width' pixels, at spaces where it can; a word
    // wider than that stands on a line of its own. Line breaks of the text are kept.
    static QString Wrap(const QString& text, const QFontMetrics& metrics, int width = kWrapWidth);

private:
    QHash<const QWidget*, QString> m_tips;
    QPointer<QWidget> m_lastRelayed;
    int m_relayed = 0;
};

// The process-wide hook through which the pages' tool-tip holders see the mouse. The control
// counts its users (acquire/release); a page registers its holder while it is shown.
class CTooltipRelay : public ui::CMessageHook {
public:
    CTooltipRelay() = default;
    ~CTooltipRelay() override = default;

    // The one relay of the process; never destroyed, so that it cannot outlive the application.
    static CTooltipRelay& instance();

    // Pairs the holder with the page whose direct children it serves; a holder that is
    // registered already keeps its page.
    void Register(CToolTipHolder* holder, QWidget* page);
    void Unregister(CToolTipHolder* holder);
    bool IsRegistered(const CToolTipHolder* holder) const;
    int RegisteredCount() const { return static_cast<int>(m_pages.size()); }

protected:
    // Mouse events only; never swallows.
    bool filter(QObject* target, QEvent* event) override;
    void onRemoved() override;

private:
    struct Pair {
        QPointer<CToolTipHolder> holder;
        QPointer<QWidget> page;
    };
    std::map<const CToolTipHolder*, Pair> m_pages;
};

}  // namespace orvx::framework
