#include "ReadOnlyLook.h"

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>

namespace orvx::ui {

namespace {

bool isReadOnly(const QWidget* edit)
{
    if (const auto* line = qobject_cast<const QLineEdit*>(edit))
        return line->isReadOnly();
    if (const auto* text = qobject_cast<const QPlainTextEdit*>(edit))
        return text->isReadOnly();
    return false;
}

// Lives as a child of the edit it paints, so that it goes with it.
class ReadOnlyLook final : public QObject {
public:
    explicit ReadOnlyLook(QWidget* edit) : QObject(edit), m_edit(edit)
    {
        edit->installEventFilter(this);
        apply();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_edit && !m_applying && followsLook(*event))
            apply();
        return false;
    }

private:
    void apply()
    {
        QPalette palette;  // nothing set: the edit follows its window again
        if (isReadOnly(m_edit)) {
            for (const auto group : {QPalette::Active, QPalette::Inactive})
                palette.setBrush(group, QPalette::Base, readOnlyBackground(m_edit));
        }
        m_applying = true;
        m_edit->setPalette(palette);
        m_applying = false;
    }

    QPointer<QWidget> m_edit;
    bool m_applying = false;  // the edit's own palette change, caused here
};

}  // namespace

bool followsLook(const QEvent& event)
{
    switch (event.type()) {
    case QEvent::ReadOnlyChange:
    case QEvent::ApplicationPaletteChange:
    case QEvent::PaletteChange: return true;
    default: return false;
    }
}

QBrush readOnlyBackground(const QWidget* field)
{
    return QApplication::palette(field).brush(QPalette::Disabled, QPalette::Base);
}

void followReadOnlyLook(QWidget* edit)
{
    if (edit && !edit->testAttribute(Qt::WA_SetPalette))
        new ReadOnlyLook(edit);
}

}  // namespace orvx::ui
