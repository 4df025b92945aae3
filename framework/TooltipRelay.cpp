#include "TooltipRelay.h"

#include "TipWrapper.h"
#include "platform/ui/PostCall.h"

#include <QEvent>
#include <QFont>
#include <QFontMetrics>
#include <QToolTip>
#include <QWidget>

#include <optional>

namespace orvx::framework {

namespace {

// The wrapper of the tool-tip font; made again when the application changes that font.
CTipWrapper& tipWrapper()
{
    struct ForFont {
        QFont font;
        std::optional<CTipWrapper> wrapper;
    };
    // Never destroyed: fonts must not outlive the application object at exit.
    static auto* current = new ForFont;
    const QFont now = QToolTip::font();
    if (!current->wrapper || now != current->font) {
        current->font = now;
        current->wrapper.emplace(QFontMetrics(now));
    }
    return *current->wrapper;
}

}  // namespace

CToolTipHolder::CToolTipHolder(QObject* parent) : QObject(parent) {}

CToolTipHolder::~CToolTipHolder() = default;

void CToolTipHolder::SetTip(QWidget* window, const QString& text)
{
    if (!window)
        return;
    // Wrapping measures the text word by word: a ViewSetting applied again keeps its tips.
    if (const auto it = m_tips.constFind(window); it != m_tips.cend() && *it == text && !text.isNull())
        return;
    RemoveTip(window);
    m_tips.insert(window, text);
    // The entry goes with the widget, so that a later widget at the same address starts clean.
    connect(window, &QObject::destroyed, this,
            [this, window] { ui::runGuarded("tool tip", [&] { m_tips.remove(window); }); });
    window->setToolTip(tipWrapper().Wrap(text, kWrapWidth));
    window->setToolTipDuration(kDisplayTime);
}

void CToolTipHolder::RemoveTip(QWidget* window)
{
    if (!window || !m_tips.remove(window))
        return;
    disconnect(window, &QObject::destroyed, this, nullptr);
    window->setToolTip(QString());
}

QString CToolTipHolder::TipOf(const QWidget* window) const
{
    return m_tips.value(window);
}

void CToolTipHolder::Relay(QWidget* target, const QEvent& event)
{
    m_lastRelayed = target;
    ++m_relayed;
    const bool dismisses = event.type() == QEvent::MouseButtonPress || event.type() == QEvent::MouseButtonDblClick ||
                           event.type() == QEvent::Wheel;
    if (dismisses && m_tips.contains(target) && QToolTip::isVisible())
        QToolTip::hideText();
}

QString CToolTipHolder::Wrap(const QString& text, const QFontMetrics& metrics, int width)
{
    return CTipWrapper(metrics).Wrap(text, width);
}

CTooltipRelay& CTooltipRelay::instance()
{
    static CTooltipRelay* relay = new CTooltipRelay;
    return *relay;
}

void CTooltipRelay::Register(CToolTipHolder* holder, QWidget* page)
{
    if (!holder || !page || m_pages.contains(holder))
        return;
    m_pages.emplace(holder, Pair{holder, page});
}

void CTooltipRelay::Unregister(CToolTipHolder* holder)
{
    m_pages.erase(holder);
}

bool CTooltipRelay::IsRegistered(const CToolTipHolder* holder) const
{
    return m_pages.contains(holder);
}

bool CTooltipRelay::filter(QObject* target, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel: break;
    default: return false;
    }
    if (!target->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(target);
    if (widget->isWindow())
        return false;
    for (const auto& [key, pair] : m_pages) {
        // A page or holder destroyed without unregistering is skipped, never touched.
        if (pair.page && pair.holder && widget->parentWidget() == pair.page) {
            pair.holder->Relay(widget, *event);
            break;
        }
    }
    return false;
}

void CTooltipRelay::onRemoved()
{
    m_pages.clear();
}

}  // namespace orvx::framework
